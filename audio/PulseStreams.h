#pragma once

#include <pulse/stream.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "audio/PulseConnection.h"
#include "audio/SoundBackend.h"

namespace seaherald {

// Hands a routine to the thread of the user interface, where every callback of a backend runs.
using GuiPoster = std::function<void(std::function<void()>)>;

struct PulseStreamShared;

// A capture stream on the server. Data and the loss of the stream reach `callbacks` through
// `post`; opening never waits for the server: a source that turns out not to exist, or a server
// that goes away, reports a failure later.
class PulseInput final : public InputStream {
 public:
  // Null when the server is not linked or refuses the stream at once.
  static std::unique_ptr<PulseInput> Open(PulseConnection& connection,
                                          const std::optional<std::string>& sourceName,
                                          InputCallbacks callbacks, GuiPoster post);
  ~PulseInput() override;

 private:
  explicit PulseInput(std::shared_ptr<PulseStreamShared> shared) : shared_(std::move(shared)) {}
  std::shared_ptr<PulseStreamShared> shared_;
};

// A playback stream on the server's default output.
class PulseOutput final : public OutputStream {
 public:
  static std::unique_ptr<PulseOutput> Open(PulseConnection& connection,
                                           std::function<void()> failed, GuiPoster post);
  ~PulseOutput() override;
  // Takes what the server has room for now; nothing while the stream is not yet (or no more)
  // playing.
  std::size_t Write(std::span<const std::byte> bytes) override;

 private:
  explicit PulseOutput(std::shared_ptr<PulseStreamShared> shared) : shared_(std::move(shared)) {}
  std::shared_ptr<PulseStreamShared> shared_;
};

}  // namespace seaherald
