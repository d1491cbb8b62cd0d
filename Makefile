# Thin wrapper: each target installs what is missing, configures and builds.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps build run test bench install deb clean

all: build

deps:
	@./tools/install-deps

build: deps
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/tftpattern

# Every test twice: on the normal build, then on one with AddressSanitizer
# and UndefinedBehaviorSanitizer, where any report fails the test.
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cmake --preset sanitize
	cmake --build build-sanitize -j $(JOBS)
	cd build-sanitize && ctest --output-on-failure -j $(JOBS)

# PREFIX and DESTDIR as usual, e.g. make install PREFIX=/usr DESTDIR=/tmp/stage
PREFIX ?= /usr/local
install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

deb: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) build-sanitize

bench: deps
	cmake -S . -B $(BUILD) -DTFTPATTERN_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS) --target pattern_bench frame_rate present_counter
	./$(BUILD)/bench/pattern_bench --benchmark_counters_tabular=true
	./$(BUILD)/bench/frame_rate
