#include "audio/BufferAllocator.h"

#include <new>

namespace seaherald {

BufferAllocator HeapBufferAllocator() {
  return [](std::size_t samples) {
    return std::unique_ptr<std::int16_t[]>(new (std::nothrow) std::int16_t[samples]);
  };
}

}  // namespace seaherald
