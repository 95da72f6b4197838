#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace seaherald::fuzz {

// Reads a fuzz input from the front. Past the end every read gives zeros or nothing, so a
// harness never has to test for the end in the middle of a record.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

  bool Empty() const { return position_ >= data_.size(); }
  std::size_t Remaining() const { return data_.size() - std::min(position_, data_.size()); }

  std::uint8_t Byte() { return Empty() ? 0 : data_[position_++]; }

  // Little-endian.
  std::uint16_t Word() {
    const std::uint16_t low = Byte();
    return static_cast<std::uint16_t>(low | (Byte() << 8));
  }

  // A value in [low, high] from one byte when the range fits in one, else from two.
  int IntInRange(int low, int high) {
    const auto span = static_cast<unsigned>(high - low) + 1u;
    const unsigned raw = span <= 256u ? Byte() : Word();
    return low + static_cast<int>(raw % span);
  }

  // Up to `count` bytes; fewer at the end of the input.
  std::span<const std::uint8_t> Bytes(std::size_t count) {
    const std::size_t taken = std::min(count, Remaining());
    const std::span<const std::uint8_t> bytes = data_.subspan(position_, taken);
    position_ += taken;
    return bytes;
  }

  // A length byte, then that many bytes.
  std::string ShortText() {
    const std::span<const std::uint8_t> bytes = Bytes(Byte());
    return {bytes.begin(), bytes.end()};
  }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t position_ = 0;
};

// Builds inputs in the layout ByteReader reads, for the seed corpus.
class ByteWriter {
 public:
  ByteWriter& Byte(std::uint8_t value) {
    bytes_.push_back(value);
    return *this;
  }
  ByteWriter& Word(std::uint16_t value) {
    Byte(static_cast<std::uint8_t>(value & 0xFF));
    return Byte(static_cast<std::uint8_t>(value >> 8));
  }
  // The encoding IntInRange(low, high) reads back as `value`.
  ByteWriter& IntInRange(int value, int low, int high) {
    const auto offset = static_cast<unsigned>(value - low);
    if (static_cast<unsigned>(high - low) + 1u <= 256u)
      return Byte(static_cast<std::uint8_t>(offset));
    return Word(static_cast<std::uint16_t>(offset));
  }
  ByteWriter& Bytes(std::string_view bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  ByteWriter& Bytes(std::span<const std::uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  // At most 255 bytes of `text` after their count.
  ByteWriter& ShortText(std::string_view text) {
    const std::string_view kept = text.substr(0, 255);
    Byte(static_cast<std::uint8_t>(kept.size()));
    return Bytes(kept);
  }

  const std::vector<std::uint8_t>& Data() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace seaherald::fuzz
