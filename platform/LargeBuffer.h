#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>

namespace quorvane::platform {

// Makes room for size bytes in buffer; the content is discarded when the buffer has to grow. A
// new room of many megabytes is backed with huge pages where the system offers them, so that
// first writing it, as reading or decoding a photo does, costs a few page faults instead of
// thousands. A buffer that already has the room is left as it is.
inline void reserveLargeBuffer(std::string& buffer, std::size_t size)
{
    constexpr std::size_t hugePage = std::size_t{2} << 20;
    if (buffer.capacity() >= size) {
        return;
    }
    buffer.clear();
    buffer.reserve(size);
    if (size < 4 * hugePage) {
        return;
    }
    const auto start = reinterpret_cast<std::uintptr_t>(buffer.data());
    const std::uintptr_t first = (start + hugePage - 1) & ~(hugePage - 1);
    const std::uintptr_t end = (start + buffer.capacity()) & ~(hugePage - 1);
    if (end > first) {
        // Only advice: where it is refused, the buffer works the same with ordinary pages.
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
    }
}

} // namespace quorvane::platform
