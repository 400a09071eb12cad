# The two commands the README opens with, and the developer targets.
#   make run    set up, build, and start the questionnaire
#   make test   set up, build, and run the whole test suite
#   make bench  build and run the benchmarks
#   make fuzz   build the fuzz targets with clang and libFuzzer

BUILD_DIR ?= build
FUZZ_DIR  ?= build-fuzz
JOBS      ?= $(shell nproc)
FONTS_CONF := $(CURDIR)/data/fontconfig/fonts.conf

export FONTCONFIG_FILE := $(FONTS_CONF)
export CCACHE_SLOPPINESS := pch_defines,time_macros,include_file_mtime,include_file_ctime

.PHONY: all deps configure build run test bench fuzz clean

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
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-bench $(FUZZ_DIR)
