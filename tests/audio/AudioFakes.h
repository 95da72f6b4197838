#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "audio/SoundBackend.h"
#include "msglog/DialogService.h"

namespace seaherald::soundtest {

// Records every dialog in order; "beep" entries stand for the warning sound.
class RecordingDialogs final : public DialogService {
 public:
  void Beep() override { events.push_back("beep"); }
  void ShowError(const std::string& sjis) override { events.push_back("error:" + sjis); }
  void ShowInformation(const std::string& sjis) override { events.push_back("info:" + sjis); }
  bool Confirm(const std::string& sjis) override {
    events.push_back("confirm:" + sjis);
    return false;
  }
  std::vector<std::string> events;
};

// A capture the test feeds by hand. `alive` tells the test whether the backend's stream object
// still exists; the callbacks stay callable after it is gone, as late notifications would be.
struct FakeInputHandle {
  std::optional<std::string> deviceId;
  InputCallbacks callbacks;
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);
  void Deliver(std::span<const std::byte> chunk) const { callbacks.data(chunk); }
  void Fail() const { callbacks.failed(); }
};

struct FakeInput final : InputStream {
  explicit FakeInput(std::shared_ptr<bool> alive) : alive_(std::move(alive)) {}
  ~FakeInput() override { *alive_ = false; }
  std::shared_ptr<bool> alive_;
};

// An output that takes at most `room` bytes per write (unlimited when empty) and keeps them.
struct FakeOutputHandle {
  std::vector<std::byte> played;
  std::optional<std::size_t> room;
  std::function<void()> failed;
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

struct FakeOutput final : OutputStream {
  explicit FakeOutput(std::shared_ptr<FakeOutputHandle> handle) : handle_(std::move(handle)) {}
  ~FakeOutput() override { *handle_->alive = false; }
  std::size_t Write(std::span<const std::byte> bytes) override {
    std::size_t take = bytes.size();
    if (handle_->room) {
      take = std::min(take, *handle_->room);
      *handle_->room -= take;
    }
    handle_->played.insert(handle_->played.end(), bytes.begin(), bytes.begin() + take);
    return take;
  }
  std::shared_ptr<FakeOutputHandle> handle_;
};

class FakeBackend final : public SoundBackend {
 public:
  std::vector<InputDeviceInfo> devices;
  bool inputOpens = true;
  bool outputOpens = true;
  std::vector<FakeInputHandle> inputs;  // every capture opened, in order
  std::vector<std::shared_ptr<FakeOutputHandle>> outputs;
  int listings = 0;

  std::vector<InputDeviceInfo> ListInputDevices() override {
    ++listings;
    return devices;
  }
  std::unique_ptr<InputStream> OpenInput(const std::optional<std::string>& deviceId,
                                         InputCallbacks callbacks) override {
    if (!inputOpens) return nullptr;
    inputs.push_back(FakeInputHandle{deviceId, std::move(callbacks)});
    return std::make_unique<FakeInput>(inputs.back().alive);
  }
  std::unique_ptr<OutputStream> OpenOutput(std::function<void()> failed) override {
    if (!outputOpens) return nullptr;
    auto handle = std::make_shared<FakeOutputHandle>();
    handle->failed = std::move(failed);
    outputs.push_back(handle);
    return std::make_unique<FakeOutput>(handle);
  }
  const FakeInputHandle& LastInput() const { return inputs.back(); }
};

// Interleaved stereo frames whose left and right samples follow the given functions of the frame
// number, as little-endian bytes the way the sound system delivers them.
inline std::vector<std::byte> StereoBytes(std::size_t firstFrame, std::size_t frames,
                                          const std::function<std::int16_t(std::size_t)>& left,
                                          const std::function<std::int16_t(std::size_t)>& right) {
  std::vector<std::int16_t> samples;
  samples.reserve(frames * 2);
  for (std::size_t frame = firstFrame; frame < firstFrame + frames; ++frame) {
    samples.push_back(left(frame));
    samples.push_back(right(frame));
  }
  std::vector<std::byte> bytes(samples.size() * 2);
  std::memcpy(bytes.data(), samples.data(), bytes.size());
  return bytes;
}

// A left channel that tells frames apart over a long stretch, and a right channel unlike it.
inline std::int16_t LeftPattern(std::size_t frame) {
  return static_cast<std::int16_t>(static_cast<int>(frame % 65536) - 32768);
}
inline std::int16_t RightPattern(std::size_t frame) {
  return static_cast<std::int16_t>(1000 - static_cast<int>(frame % 2000));
}

}  // namespace seaherald::soundtest
