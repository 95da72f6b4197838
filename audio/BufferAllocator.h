#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace seaherald {

// Obtains one audio buffer of `samples` 16-bit samples; an empty pointer when memory is short.
using BufferAllocator = std::function<std::unique_ptr<std::int16_t[]>(std::size_t samples)>;

// Allocates from the free store without throwing.
BufferAllocator HeapBufferAllocator();

// Fills every buffer of a ring with `samples` samples each; on a refusal frees them all again.
bool AllocateBuffers(std::span<std::unique_ptr<std::int16_t[]>> buffers,
                     const BufferAllocator& allocator, std::size_t samples);

}  // namespace seaherald
