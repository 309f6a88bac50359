# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# Two commands set up a fresh Debian 12 machine: `make run` and `make test`.
BUILD_DIR ?= build
BUILD_TYPE ?= Release
WERROR ?= OFF
JOBS ?= $(shell nproc)
# Inputs per fuzz target: `make fuzz` runs long, the smoke in `make test` briefly.
FUZZ_RUNS ?= 2000000
FUZZ_SMOKE_RUNS ?= 200000
BENCH_ROUNDS ?= 30
FUZZ_TARGETS := fuzz_parse_number fuzz_format_number fuzz_convert fuzz_input_rules

.PHONY: all deps configure build run test format-check check test-sanitize build-fuzz-dir fuzz fuzz-smoke package-check bench clean

# Set-up installs what building and running need; a goal that tests adds the tests' tools,
# `make bench` the benchmark's.
DEPS := build
TEST_FLAGS := -DKAVRO_REQUIRE_SESSION_TESTS=OFF
ifneq ($(filter test format-check check test-sanitize build-fuzz-dir fuzz fuzz-smoke package-check,$(MAKECMDGOALS)),)
DEPS += test
# With the test tools installed, an end-to-end test that cannot be added is an error.
TEST_FLAGS := -DKAVRO_REQUIRE_SESSION_TESTS=ON
endif
ifneq ($(filter bench,$(MAKECMDGOALS)),)
DEPS += bench
endif
CXX_SOURCES = $(shell find app bench conversion data fuzz platform settings tests ui -name '*.cpp' -o -name '*.h')

all: build

deps:
	@scripts/install-deps.sh $(DEPS)

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DKAVRO_WERROR=$(WERROR) $(TEST_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) --parallel $(JOBS)

run: build
	$(BUILD_DIR)/app/kavro

# The whole suite: the format check, the Release tests, the same tests under ASan and UBSan,
# a fuzz smoke, and the Debian package.
test: format-check check test-sanitize fuzz-smoke package-check

# Every C++ file as clang-format writes it (.clang-format); fails if one differs.
format-check: deps
	clang-format --dry-run --Werror $(CXX_SOURCES)

check: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure --parallel $(JOBS)

test-sanitize: deps
	cmake --preset sanitize -DKAVRO_WERROR=$(WERROR) $(TEST_FLAGS)
	cmake --build build-sanitize --parallel $(JOBS)
	ctest --preset sanitize --parallel $(JOBS)

build-fuzz-dir: deps
	cmake --preset fuzz
	cmake --build build-fuzz --parallel $(JOBS)

fuzz: build-fuzz-dir
	@scripts/run-fuzzers.sh $(FUZZ_RUNS) $(FUZZ_TARGETS)

fuzz-smoke: build-fuzz-dir
	@mkdir -p build-fuzz/tmp && TMPDIR=$(CURDIR)/build-fuzz/tmp \
	    scripts/run-fuzzers.sh $(FUZZ_SMOKE_RUNS) $(FUZZ_TARGETS)

# Two builds of the package compared, lintian, reuse lint, an install into a scratch root; in
# namespaces with a /tmp of their own where they can be made (tests/isolated), so that neither
# its X server nor its files outlive it.
package-check: deps
	@status=0; tests/isolated --namespaces --private-tmp --keep-environment \
	    tests/packaging/check_package.sh || status=$$?; \
	if [ $$status -eq 77 ]; then tests/packaging/check_package.sh; else exit $$status; fi

# Start-up against a logic-free floor, in-process benchmarks, idle wakeups. Reports only; like
# the tests, it sees nothing of the desktop session it is run from.
bench: build
	tests/isolated HOME="$$HOME" KAVRO_BENCH_BASELINE="$${KAVRO_BENCH_BASELINE:-}" \
	    bench/run.sh $(BUILD_DIR) $(BENCH_ROUNDS)

clean:
	rm -rf $(BUILD_DIR) build-sanitize build-fuzz
