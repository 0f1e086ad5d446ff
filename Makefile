# Thin wrapper over CMake presets. `make demo` and `make test` work on a fresh Debian machine:
# both run the bootstrap first, which installs only what is missing.
JOBS ?= $(shell nproc)
CTEST_FLAGS ?= --timeout 900
# End-to-end suites at once: each has its own Wine prefix and X server; two keep two cores busy.
E2E_JOBS ?= 2

.PHONY: all bootstrap host win64 win32 win32-e2e fuzzbuild demo test test-host test-fuzz test-win64 \
        test-win32 test-win32-e2e soak screenshots bench benchhost fuzz format check-format clean release dist

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

# The i686 end-to-end tests, built with threads in a tree of their own; they run the win32
# tree's release stub.
win32-e2e: win32
	cmake --preset win32-e2e >/dev/null
	cmake --build --preset win32-e2e -j $(JOBS)

fuzzbuild: bootstrap
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)

test-host: host
	ctest --preset host -j $(JOBS) $(CTEST_FLAGS)

test-fuzz: fuzzbuild
	ctest --preset fuzz -j $(JOBS) $(CTEST_FLAGS)

test-win64: win64 host
	ctest --preset win64 -j $(E2E_JOBS) $(CTEST_FLAGS)

# Why the i686 end-to-end suites cannot run here, in one line; nothing when they can (the probe
# starts a 32-bit Windows program under wine64). SKIP_I686_E2E=1 skips them on purpose.
I686_E2E_SKIP_REASON = if [ -n "$(SKIP_I686_E2E)" ]; then echo "SKIP_I686_E2E is set"; \
  else scripts/e2e-probe build/win32/tests/e2e/e2e_probe.exe | \
  sed 's/^/this machine cannot start a 32-bit Windows program under wine64: /'; fi

# The static checks of the release stub, then its end-to-end suites, or one line saying why not.
test-win32: win32 host
	ctest --preset win32 $(CTEST_FLAGS)
	@why=$$($(I686_E2E_SKIP_REASON)); \
	if [ -z "$$why" ]; then $(MAKE) --no-print-directory test-win32-e2e; \
	else echo "i686 end-to-end suites SKIPPED: $$why"; fi

test-win32-e2e: win32-e2e host
	ctest --preset win32-e2e -j $(E2E_JOBS) $(CTEST_FLAGS)

test: check-format test-host test-fuzz test-win32 test-win64

# Every end-to-end suite ROUNDS times, then how often each passed (scripts/soak). SOAK_TESTS
# narrows it to the suites whose names match that regular expression; SOAK_FRESH=1 starts every
# round from a machine's first-run state (no X socket folder, Wine server folder or font cache).
ROUNDS ?= 5
SOAK_TESTS ?= .
SOAK_FLAGS = --rounds $(ROUNDS) --jobs $(E2E_JOBS) --tests '$(SOAK_TESTS)' $(if $(SOAK_FRESH),--fresh)
soak: win64 win32 host
	@why=$$($(I686_E2E_SKIP_REASON)); \
	if [ -z "$$why" ]; then \
	  $(MAKE) --no-print-directory win32-e2e && \
	  scripts/soak $(SOAK_FLAGS) win64 win32-e2e; \
	else \
	  echo "i686 end-to-end suites SKIPPED: $$why"; \
	  scripts/soak $(SOAK_FLAGS) win64; \
	fi

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

# Only what the bench runs: the stubs, its three Windows helpers, scrpack and the trailer search.
bench: benchhost
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 -j $(JOBS) --target scrstub bench_copy_loop bench_empty bench_window_only
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j $(JOBS) --target scrstub
	bench/run

FUZZ_SECONDS ?= 60
fuzz: fuzzbuild
	scripts/fuzz $(FUZZ_SECONDS)

# Rewrites the C++ sources in place as .clang-format says; check-format only reports.
format: bootstrap
	scripts/check-format --fix

check-format: bootstrap
	scripts/check-format

clean:
	rm -rf build out
