# The two commands a fresh Debian machine needs: `make run` and `make test`.
BUILD      ?= build
BUILD_TYPE ?= Release
CMAKE_FLAGS ?=
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local

.PHONY: all setup configure build test run bench install deb clean

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

# The program, its help, icons, desktop entry and MIME package under $(PREFIX).
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package of the same, installing under /usr.
deb: build
	@cd $(BUILD) && cpack -G DEB

clean:
	@rm -rf $(BUILD)
