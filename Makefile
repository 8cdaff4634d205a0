# The two set-up commands of the README, and the benchmarks.
.PHONY: run test bench deps

deps:
	bash scripts/install-deps.sh

run: deps
	cmake --preset release
	cmake --build --preset release
	./build/release/app/quorvane

test: deps
	cmake --preset test
	cmake --build --preset test
	ctest --preset test

bench: deps
	cmake --preset bench
	cmake --build --preset bench
	bash bench/run-all.sh build/bench
