# KIVO: `make run` and `make test` set everything up on a fresh Debian 12 machine.

BUILD_DIR      ?= build
SANITIZE_DIR   ?= build-sanitize
RELEASE_DIR    ?= build-release
JOBS           ?= $(shell nproc)
CMAKE_FLAGS    ?=

DEB_PACKAGES   := g++ cmake ninja-build make libgtest-dev libgmock-dev \
                  qt6-base-dev qt6-svg-dev libqcustomplot-dev libgl-dev python3
BENCH_PACKAGES := python3-pandas python3-numpy

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps deps-bench configure build build-sanitize test run bench screenshots clean

all: build

# Installs only what is missing, so a second call costs nothing.
deps:
	@./tools/install_packages.sh $(DEB_PACKAGES)

deps-bench:
	@./tools/install_packages.sh $(DEB_PACKAGES) $(BENCH_PACKAGES)

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# The engine and its tests again, with AddressSanitizer and UndefinedBehaviorSanitizer.
build-sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKIVO_SANITIZE=ON \
	  -DKIVO_BUILD_FRONTEND=OFF >/dev/null
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)

test: build build-sanitize
	@echo "== Engine tests under AddressSanitizer and UndefinedBehaviorSanitizer"
	@cd $(SANITIZE_DIR) && ctest --output-on-failure -j $(JOBS) </dev/null
	@echo "== All tests"
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) </dev/null

run: build
	@./examples/run_example.sh $(BUILD_DIR)

bench: deps-bench
	@cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIVO_BUILD_FRONTEND=OFF \
	  -DKIVO_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(RELEASE_DIR) -j $(JOBS) --target KIVO all_benchmarks
	@./bench/run_benchmarks.sh $(RELEASE_DIR)

screenshots: build
	@cmake --build $(BUILD_DIR) --target kivo_screenshots
	@QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/frontend/kivo_screenshots $(BUILD_DIR)/screenshots

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(RELEASE_DIR)
