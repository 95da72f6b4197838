#include "audio/PulseStreams.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "audio/WaveFormat.h"

namespace seaherald {

// What a stream's server-side callbacks and its owner share. `stream` is touched only with the
// mainloop locked; `closed` and `callbacks` only on the thread of the user interface.
struct PulseStreamShared : std::enable_shared_from_this<PulseStreamShared> {
  PulseConnection* connection = nullptr;
  pa_stream* stream = nullptr;
  GuiPoster post;
  InputCallbacks callbacks;
  bool closed = false;
  bool failureSent = false;  // on the loop's thread

  void SendFailure() {
    if (std::exchange(failureSent, true)) return;
    post([self = shared_from_this()] {
      if (!self->closed && self->callbacks.failed) self->callbacks.failed();
    });
  }

  // On the thread of the user interface: no callback reaches the owner after this.
  void Close() {
    closed = true;
    const PulseLock lock(connection->Mainloop());
    if (stream == nullptr) return;
    pa_stream_set_state_callback(stream, nullptr, nullptr);
    pa_stream_set_read_callback(stream, nullptr, nullptr);
    pa_stream_disconnect(stream);
    pa_stream_unref(stream);
    stream = nullptr;
  }
};

namespace {

static_assert(CaptureWaveFormat.bitsPerSample == 16);
constexpr pa_sample_spec kSampleSpec{PA_SAMPLE_S16LE,
                                     static_cast<std::uint32_t>(CaptureWaveFormat.samplesPerSec),
                                     static_cast<std::uint8_t>(CaptureWaveFormat.channels)};
constexpr std::uint32_t kAsTheServerLikes = static_cast<std::uint32_t>(-1);
constexpr auto kFrameBytes = static_cast<std::size_t>(CaptureWaveFormat.blockAlign);

void OnStreamState(pa_stream* stream, void* userdata) {
  const pa_stream_state_t state = pa_stream_get_state(stream);
  if (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED)
    static_cast<PulseStreamShared*>(userdata)->SendFailure();
}

void OnReadable(pa_stream* stream, std::size_t, void* userdata) {
  auto* shared = static_cast<PulseStreamShared*>(userdata);
  std::vector<std::byte> chunk;
  while (pa_stream_readable_size(stream) > 0) {
    const void* data = nullptr;
    std::size_t size = 0;
    if (pa_stream_peek(stream, &data, &size) < 0 || size == 0) break;
    // A hole in the stream is silence of that length.
    const std::size_t at = chunk.size();
    chunk.resize(at + size);
    if (data != nullptr) std::memcpy(chunk.data() + at, data, size);
    pa_stream_drop(stream);
  }
  if (chunk.empty()) return;
  shared->post([self = shared->shared_from_this(), chunk = std::move(chunk)] {
    if (!self->closed && self->callbacks.data) self->callbacks.data(chunk);
  });
}

std::shared_ptr<PulseStreamShared> NewStream(PulseConnection& connection, const char* name,
                                             GuiPoster post) {
  pa_context* context = connection.ReadyContext();
  if (context == nullptr) return nullptr;
  auto shared = std::make_shared<PulseStreamShared>();
  shared->connection = &connection;
  shared->post = std::move(post);
  shared->stream = pa_stream_new(context, name, &kSampleSpec, nullptr);
  if (shared->stream == nullptr) return nullptr;
  pa_stream_set_state_callback(shared->stream, &OnStreamState, shared.get());
  return shared;
}

}  // namespace

std::unique_ptr<PulseInput> PulseInput::Open(PulseConnection& connection,
                                             const std::optional<std::string>& sourceName,
                                             InputCallbacks callbacks, GuiPoster post) {
  std::shared_ptr<PulseStreamShared> shared;
  {
    const PulseLock lock(connection.Mainloop());
    shared = NewStream(connection, "NAVTEX input", std::move(post));
    if (!shared) return nullptr;
    shared->callbacks = std::move(callbacks);
    pa_stream_set_read_callback(shared->stream, &OnReadable, shared.get());
    // Fragments of one block keep the data coming ten times a second.
    const pa_buffer_attr attributes{kAsTheServerLikes, kAsTheServerLikes, kAsTheServerLikes,
                                    kAsTheServerLikes, static_cast<std::uint32_t>(BlockBytes)};
    if (pa_stream_connect_record(shared->stream, sourceName ? sourceName->c_str() : nullptr,
                                 &attributes, PA_STREAM_ADJUST_LATENCY) < 0) {
      pa_stream_set_state_callback(shared->stream, nullptr, nullptr);
      pa_stream_set_read_callback(shared->stream, nullptr, nullptr);
      pa_stream_unref(shared->stream);
      shared->stream = nullptr;
      return nullptr;
    }
  }
  return std::unique_ptr<PulseInput>(new PulseInput(std::move(shared)));
}

PulseInput::~PulseInput() {
  shared_->Close();
}

std::unique_ptr<PulseOutput> PulseOutput::Open(PulseConnection& connection,
                                               std::function<void()> failed, GuiPoster post) {
  std::shared_ptr<PulseStreamShared> shared;
  {
    const PulseLock lock(connection.Mainloop());
    shared = NewStream(connection, "NAVTEX monitor", std::move(post));
    if (!shared) return nullptr;
    shared->callbacks.failed = std::move(failed);
    const pa_buffer_attr attributes{kAsTheServerLikes, static_cast<std::uint32_t>(BlockBytes) * 3,
                                    kAsTheServerLikes, kAsTheServerLikes, kAsTheServerLikes};
    if (pa_stream_connect_playback(shared->stream, nullptr, &attributes, PA_STREAM_ADJUST_LATENCY,
                                   nullptr, nullptr) < 0) {
      pa_stream_set_state_callback(shared->stream, nullptr, nullptr);
      pa_stream_unref(shared->stream);
      shared->stream = nullptr;
      return nullptr;
    }
  }
  return std::unique_ptr<PulseOutput>(new PulseOutput(std::move(shared)));
}

PulseOutput::~PulseOutput() {
  shared_->Close();
}

std::size_t PulseOutput::Write(std::span<const std::byte> bytes) {
  const PulseLock lock(shared_->connection->Mainloop());
  pa_stream* stream = shared_->stream;
  if (stream == nullptr || pa_stream_get_state(stream) != PA_STREAM_READY) return 0;
  const std::size_t room = pa_stream_writable_size(stream);
  if (room == static_cast<std::size_t>(-1)) return 0;
  const std::size_t taken = std::min(room, bytes.size()) / kFrameBytes * kFrameBytes;
  if (taken == 0) return 0;
  if (pa_stream_write(stream, bytes.data(), taken, nullptr, 0, PA_SEEK_RELATIVE) < 0) return 0;
  return taken;
}

}  // namespace seaherald
