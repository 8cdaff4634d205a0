# The set-up commands of the README: run, test, package, and the benchmarks.
.PHONY: run test bench deps package

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

# The Debian package quorvane_<version>_<arch>.deb, built from the release build and copied here.
package: deps
	cmake --preset release
	cmake --build --preset release
	cd build/release && cpack -G DEB
	cp build/release/quorvane_*.deb .
