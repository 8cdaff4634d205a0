#!/usr/bin/env bash
# Builds the metafile player's fuzz target with clang's libFuzzer and runs it for a bounded time
# from a fresh seed corpus. Exits 77 (skipped) when clang or libFuzzer is not installed.
set -euo pipefail
out=$1          # a build folder of its own
seconds=${2:-10}
source=$(cd "$(dirname "$0")/../../.." && pwd)
here="$source/tests/metafile/fuzz"

source "$source/tests/support/libfuzzer-compiler.sh"

read -r -a qt <<< "$(pkg-config --cflags --libs Qt6Gui)"
flags=(-std=c++20 -O1 -g -fno-omit-frame-pointer -fPIC -I"$source" -I"$source/tests")
"$compiler" "${flags[@]}" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    "$here/MetafileFuzz.cpp" "$source"/metafile/*.cpp "$source/imaging/Bmp.cpp" "${qt[@]}" \
    -o "$out/Metafile_fuzz"
"$compiler" "${flags[@]}" "$here/MetafileFuzzCorpus.cpp" -o "$out/metafile_fuzz_corpus"

corpus="$out/Metafile_corpus"
rm -rf "$corpus"
mkdir -p "$corpus"
"$out/metafile_fuzz_corpus" "$corpus"
cd "$out"
# fontconfig keeps a cache entry for every new face name the fuzzer invents, which the leak checker
# reports as lost; its reports alone are suppressed, so a leak of the player still stops the run.
export QT_QPA_PLATFORM=offscreen LSAN_OPTIONS="suppressions=$here/fontconfig.supp"
./Metafile_fuzz "$corpus" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
