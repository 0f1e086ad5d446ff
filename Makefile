# Thin wrapper over CMake presets. `make demo` and `make test` work on a fresh Debian machine:
# both run the bootstrap first, which installs only what is missing.
JOBS ?= $(shell nproc)
CTEST_FLAGS ?= --timeout 900

.PHONY: all bootstrap host win64 win32 fuzzbuild demo test test-host test-fuzz test-win64 test-win32 \
        screenshots bench benchhost fuzz clean release dist

all: host win64 win32

bootstrap:
	@scripts/bootstrap

host: bootstrap
	cmake --preset host >/dev/null
	cmake --build --preset host -j $(JOBS)

win64: bootstrap
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 -j $(JOBS)

win32: bootstrap
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j $(JOBS)

fuzzbuild: bootstrap
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)

test-host: host
	ctest --preset host -j $(JOBS) $(CTEST_FLAGS)

test-fuzz: fuzzbuild
	ctest --preset fuzz -j $(JOBS) $(CTEST_FLAGS)

test-win64: win64 host
	ctest --preset win64 $(CTEST_FLAGS)

test-win32: win32 host
	ctest --preset win32 $(CTEST_FLAGS)

test: test-host test-fuzz test-win32 test-win64

demo: host win64
	scripts/demo

# The release zip for screen-saver authors: optimised static Linux scrpack, both stubs, scrpack.exe.
release: bootstrap
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS) --target scrpack

dist: release win32 win64
	scripts/dist

screenshots: host win64
	scripts/screenshots

benchhost: bootstrap
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j $(JOBS) --target scrpack trailer_bench

bench: benchhost win64 win32
	bench/run

FUZZ_SECONDS ?= 60
fuzz: fuzzbuild
	scripts/fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build out
