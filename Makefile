# Two commands set up a fresh Debian 12 machine: `make run` and `make test`.
BUILD_DIR ?= build
BUILD_TYPE ?= Release
WERROR ?= OFF
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DKAVRO_WERROR=$(WERROR)

build: configure
	cmake --build $(BUILD_DIR) --parallel $(JOBS)

run: build
	$(BUILD_DIR)/app/kavro

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure --parallel $(JOBS)

clean:
	rm -rf $(BUILD_DIR)
