#pragma once

namespace seaherald {

// The standard receive path unless a caller names a choice of its own.
inline constexpr bool StandardReceivePath = false;

// The settings the decoder reads at every sample or bit. They live in the caller's records; in
// automatic mode the decoder writes the language and polarity of channel 0 back through them.
struct DecoderSettings {
  bool& DecLang;  // channel 0: true = English (SITOR-B), false = Japanese
  bool& DecInv;   // channel 0: true = inverted polarity
  const bool& AutoSet;
  const double& CenterFrequency;  // Hz
  // Read at every block: true selects the high-sensitivity receive path.
  const bool& Sensitive = StandardReceivePath;
};

}  // namespace seaherald
