#!/usr/bin/env bash
# Builds one fuzz target with clang's libFuzzer and runs it for a bounded time from a fresh seed
# corpus. Exits 77 (skipped) when clang or libFuzzer is not installed.
set -euo pipefail
target=$1       # Bmp or Jpeg
out=$2          # a build folder of its own
seconds=${3:-15}
source=$(cd "$(dirname "$0")/../../.." && pwd)
here="$source/tests/imaging/fuzz"

source "$source/tests/support/libfuzzer-compiler.sh"

flags=(-std=c++20 -O1 -g -fno-omit-frame-pointer -I"$source" -I"$source/tests")
codecs=("$source/imaging/Bmp.cpp" "$source/imaging/Jpeg.cpp")
"$compiler" "${flags[@]}" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    "$here/${target}Fuzz.cpp" "${codecs[@]}" -ljpeg -o "$out/${target}_fuzz"
"$compiler" "${flags[@]}" "$here/FuzzCorpus.cpp" "${codecs[@]}" -ljpeg -o "$out/fuzz_corpus"

corpus="$out/${target}_corpus"
rm -rf "$corpus"
mkdir -p "$corpus"
"$out/fuzz_corpus" "$(echo "$target" | tr '[:upper:]' '[:lower:]')" "$corpus"
cd "$out"
"./${target}_fuzz" "$corpus" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
