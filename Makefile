# The two commands a fresh Debian machine needs: `make run` and `make test`.
BUILD      ?= build
BUILD_TYPE ?= Release
CMAKE_FLAGS ?=
JOBS       ?= $(shell nproc)

.PHONY: all setup configure build test run bench install clean

all: build

setup:
	@scripts/setup

configure: setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	@scripts/run-demo $(BUILD)

bench: build
	@$(BUILD)/bench/quilmo_bench

clean:
	@rm -rf $(BUILD)
