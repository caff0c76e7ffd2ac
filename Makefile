# Lorvane: make run | make test | make bench
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps build test bench run clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@scripts/run-benchmarks.sh $(BUILD_DIR)

run: build
	scripts/prepare-demo.sh $(BUILD_DIR) demo
	cd demo && ./lorvane

clean:
	rm -rf $(BUILD_DIR)
