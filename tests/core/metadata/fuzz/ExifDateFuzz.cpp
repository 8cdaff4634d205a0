// Feeds arbitrary bytes to the date reader's exiv2 boundary: whatever the bytes, it returns (a date
// or none) without crashing, hanging or leaking, and a date it returns is a real calendar date.
#include "core/metadata/ExifDateReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto taken = quorvane::core::readExifDate(data, size);
    if (taken && (taken->local.month < 1 || taken->local.month > 12 || taken->local.day < 1 ||
                  taken->local.day > 31 || taken->local.hour > 23 || taken->nanoseconds >= 1000000000u)) {
        __builtin_trap();
    }
    return 0;
}
