#include "audio/BufferAllocator.h"

#include <new>

namespace seaherald {

BufferAllocator HeapBufferAllocator() {
  return [](std::size_t samples) {
    return std::unique_ptr<std::int16_t[]>(new (std::nothrow) std::int16_t[samples]);
  };
}

bool AllocateBuffers(std::span<std::unique_ptr<std::int16_t[]>> buffers,
                     const BufferAllocator& allocator, std::size_t samples) {
  for (auto& buffer : buffers) {
    buffer = allocator(samples);
    if (!buffer) {
      for (auto& allocated : buffers)
        allocated.reset();
      return false;
    }
  }
  return true;
}

}  // namespace seaherald
