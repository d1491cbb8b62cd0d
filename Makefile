# Thin wrapper: each target installs what is missing, configures and builds.
BUILD ?= build
JOBS ?= $(shell nproc)
# PREFIX and DESTDIR as usual, e.g. make install PREFIX=/usr DESTDIR=/tmp/stage
PREFIX ?= /usr/local

.PHONY: all deps configure build run test bench install deb clean

all: build

deps:
	@./tools/install-deps

configure: deps
	cmake -S . -B $(BUILD)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: configure
	cmake --build $(BUILD) -j $(JOBS) --target tftpattern
	./$(BUILD)/tftpattern

# Every test twice: on the normal build, then on one with AddressSanitizer
# and UndefinedBehaviorSanitizer, where any report fails the test.
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cmake --preset sanitize
	cmake --build build-sanitize -j $(JOBS)
	cd build-sanitize && ctest --output-on-failure -j $(JOBS)

bench: build
	./$(BUILD)/bench/pattern_bench --benchmark_counters_tabular=true
	./$(BUILD)/bench/frame_rate

install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

deb: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) build-sanitize
