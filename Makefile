# The two commands the README opens with, and the developer targets.
#   make run    set up, build, and start the questionnaire
#   make test   set up, build, and run the whole test suite
#   make sanitize  the test suite built with AddressSanitizer and
#               UndefinedBehaviorSanitizer (Debug, in build-sanitize)
#   make bench  build and run the benchmarks
#   make fuzz   build the fuzz targets with clang and libFuzzer

BUILD_DIR ?= build
FUZZ_DIR  ?= build-fuzz
SANITIZE_DIR ?= build-sanitize
JOBS      ?= $(shell nproc)
FONTS_CONF := $(CURDIR)/data/fontconfig/fonts.conf

export FONTCONFIG_FILE := $(FONTS_CONF)
export CCACHE_SLOPPINESS := pch_defines,time_macros,include_file_mtime,include_file_ctime

.PHONY: all deps configure build run test sanitize bench fuzz clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "make run: no display to open the questionnaire window on (set DISPLAY, or run under xvfb-run)"; \
	  exit 1; \
	fi
	@$(BUILD_DIR)/questionnaire

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Leaks inside system libraries (libdbus, fontconfig) are not ours: the
# suppression file names them.
sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	@cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

bench: deps
	@scripts/install-deps --bench
	@cmake -S . -B $(BUILD_DIR)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTS=OFF -DBUILD_BENCH=ON >/dev/null
	@cmake --build $(BUILD_DIR)-bench -j $(JOBS)
	@for b in $(BUILD_DIR)-bench/bench/*_bench; do [ -x "$$b" ] && QT_QPA_PLATFORM=offscreen "$$b"; done

fuzz: deps
	@scripts/install-deps --fuzz
	@CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTS=OFF -DBUILD_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS)
	@echo "fuzz targets are in $(FUZZ_DIR)/fuzz/"

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-bench $(FUZZ_DIR) $(SANITIZE_DIR)
