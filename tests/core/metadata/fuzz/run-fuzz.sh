#!/usr/bin/env bash
# Builds the date reader's fuzz target with clang's libFuzzer over the system's exiv2 and runs it
# for a bounded time from a seed corpus of small photos. Exits 77 (skipped) when clang or libFuzzer
# is not installed.
set -euo pipefail
out=$1          # a build folder of its own
seconds=${2:-10}
source=$(cd "$(dirname "$0")/../../../.." && pwd)

source "$source/tests/support/libfuzzer-compiler.sh"

# exiv2 is not built with the sanitizers, so only our side is checked; its leaks are its own.
"$compiler" -std=c++20 -O1 -g -fno-omit-frame-pointer -I"$source" \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    "$source/tests/core/metadata/fuzz/ExifDateFuzz.cpp" "$source/core/metadata/ExifDateReader.cpp" \
    "$source/core/metadata/DateTaken.cpp" "$source/platform/LocalTime.cpp" \
    $(pkg-config --cflags --libs exiv2) -o "$out/ExifDate_fuzz"

corpus="$out/ExifDate_corpus"
rm -rf "$corpus"
mkdir -p "$corpus"
# A JPEG with an EXIF block that holds DateTimeOriginal, and the same block in a bare TIFF.
tiff='II*\x00\x08\x00\x00\x00\x01\x00\x69\x87\x04\x00\x01\x00\x00\x00\x1a\x00\x00\x00\x00\x00\x00\x00'
tiff+='\x01\x00\x03\x90\x02\x00\x14\x00\x00\x00\x2c\x00\x00\x00\x00\x00\x00\x002024:08:12 14:35:01\x00'
printf "$tiff" > "$corpus/tiff"
printf '\xff\xd8\xff\xe1\x00\x4a\x45\x78\x69\x66\x00\x00' > "$corpus/jpeg"
printf "$tiff" >> "$corpus/jpeg"
printf '\xff\xd9' >> "$corpus/jpeg"
printf '\x89PNG\r\n\x1a\n' > "$corpus/png"
cd "$out"
ASAN_OPTIONS=detect_leaks=0 ./ExifDate_fuzz "$corpus" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -print_final_stats=1
