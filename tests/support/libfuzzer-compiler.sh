# Sourced by the fuzz scripts: sets compiler to a clang++ that can link libFuzzer, or exits 77
# (skipped) when clang or libFuzzer is not installed. Needs out, the script's build folder.
compiler=$(command -v clang++ || command -v clang++-14 || true)
if [[ -z "$compiler" ]]; then
    echo "clang++ is not installed: fuzzing skipped"
    exit 77
fi
mkdir -p "$out"
echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' > "$out/probe.cpp"
if ! "$compiler" -fsanitize=fuzzer "$out/probe.cpp" -o "$out/probe" 2>/dev/null; then
    echo "libFuzzer is not installed (libclang-rt-14-dev): fuzzing skipped"
    exit 77
fi
