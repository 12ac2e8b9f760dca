# The two commands a fresh Debian machine needs: `make run` and `make test`.
BUILD      ?= build
BUILD_TYPE ?= Release
CMAKE_FLAGS ?=
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local

.PHONY: all setup configure build test run bench load install deb clean fuzz test-asan test-tsan

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

# Every benchmark under bench/ (one program); BENCH_FILTER, a regular
# expression, picks some, e.g. make bench BENCH_FILTER=Journal.
BENCH_FILTER ?=
bench: build
	@$(BUILD)/bench/quilmo_bench $(if $(BENCH_FILTER),--benchmark_filter='$(BENCH_FILTER)')

# The journal under load: 50 runners and four hostile peers on loopback for
# LOAD_SECONDS, then every result checked and the memory peak judged.
LOAD_SECONDS ?= 30
load: build
	@$(BUILD)/tests/quilmo_journal_load --seconds $(LOAD_SECONDS)

# The program, its help, icons, desktop entry and MIME package under $(PREFIX).
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package of the same, installing under /usr.
deb: build
	@cd $(BUILD) && cpack -G DEB

clean:
	@rm -rf $(BUILD)

# ---- Hardening: fuzzing and sanitizer builds, each in a build folder of its own.

# Every fuzz target under fuzz/ (clang, libFuzzer, ASan and UBSan, the core
# library only), FUZZ_SECONDS each; fuzz/run lists the other knobs.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
export FUZZ_SECONDS

fuzz: setup
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQUILMO_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@fuzz/run $(FUZZ_BUILD)

# The whole tree and the whole suite under AddressSanitizer and
# UndefinedBehaviorSanitizer. Leaks inside the uninstrumented Qt and font
# libraries are suppressed by name in tests/sanitizers/lsan.supp; ours are not.
ASAN_BUILD ?= build-asan
ASAN_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

test-asan: setup
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQUILMO_SANITIZE=address,undefined $(CMAKE_FLAGS) >/dev/null
	@$(ASAN_ENV) cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && $(ASAN_ENV) QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The tests that run threads, under ThreadSanitizer: the ctest name patterns
# listed in tests/sanitizers/tsan-tests.txt, one a line.
TSAN_BUILD ?= build-tsan
TSAN_TESTS ?= $(shell sed -e 's/\#.*//' -e '/^[[:space:]]*$$/d' tests/sanitizers/tsan-tests.txt | paste -sd'|')
TSAN_ENV = TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/sanitizers/tsan.supp

test-tsan: setup
	@cmake -S . -B $(TSAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQUILMO_SANITIZE=thread -DQUILMO_BUILD_BENCH=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(TSAN_BUILD) -j $(JOBS) --target quilmo_core_tests quilmo_gui_tests
	@cd $(TSAN_BUILD) && $(TSAN_ENV) QT_QPA_PLATFORM=offscreen \
	  ctest --output-on-failure -j $(JOBS) --no-tests=error -R '$(TSAN_TESTS)'
