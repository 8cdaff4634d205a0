#!/usr/bin/env bash
# Builds the settings reader's fuzz target with clang's libFuzzer and runs it for a bounded time
# from a small seed corpus. Exits 77 (skipped) when clang or libFuzzer is not installed.
set -euo pipefail
out=$1          # a build folder of its own
seconds=${2:-10}
source=$(cd "$(dirname "$0")/../../../.." && pwd)

source "$source/tests/support/libfuzzer-compiler.sh"

"$compiler" -std=c++20 -O1 -g -fno-omit-frame-pointer -I"$source" \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    "$source/tests/core/settings/fuzz/IniFileFuzz.cpp" "$source/core/settings/IniFile.cpp" -o "$out/IniFile_fuzz"

corpus="$out/IniFile_corpus"
rm -rf "$corpus"
mkdir -p "$corpus"
printf '[WindowState]\nWidth=1024\n[ExtList]\n0=*.jpg\n1=\n[Options]\nViewMode=3\n' > "$corpus/plain"
printf '\xef\xbb\xbf; note\r\n[windowstate]\r\n width = "7" \r\n[Options]\r\nviewmode=1' > "$corpus/crlf"
printf '[ExtList]\n1=x\n[ExtList]\n0\n=\n[Options\nViewMode\n' > "$corpus/odd"
cd "$out"
./IniFile_fuzz "$corpus" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
