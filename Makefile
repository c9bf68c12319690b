# The presets in CMakePresets.json hold the whole build; these targets only name them.
.PHONY: all deps build test asan bench fuzz run screenshots package clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake --preset dev >/dev/null
	cmake --build --preset dev

test: build
	ctest --preset dev

asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan
	ctest --preset asan

bench: deps
	cmake --preset release >/dev/null
	cmake --build --preset release
	scripts/run-bench build/release

# libFuzzer targets, built with clang in build/fuzz and run FUZZ_SECONDS (default 60) each.
fuzz: deps
	tests/fuzz/run-fuzz

run: deps
	cmake --preset release >/dev/null
	cmake --build --preset release --target kelmora
	@scripts/run-program build/release

screenshots: deps
	cmake --preset release >/dev/null
	cmake --build --preset release
	scripts/take-screenshots build/release

# The Debian package from the optimised build, then lintian's report on it.
package:
	@scripts/install-deps package
	cmake --preset release >/dev/null
	cmake --build --preset release
	cpack --preset release
	lintian --info build/release/kelmora_*.deb

clean:
	rm -rf build
