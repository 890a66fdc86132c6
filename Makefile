# The two commands of the quick start. Each installs what is missing first.
BUILD_DIR ?= build
# Warnings are errors in every make build, so CI and developers see the same thing.
CMAKE_FLAGS ?= -DKESTROVE_WERROR=ON
JOBS ?= $(shell nproc)

.PHONY: run test build deps configure bench clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@cd $(BUILD_DIR)/bin && ./kestrove $(ARGS)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	@$(BUILD_DIR)/bin/kestrove-bench

clean:
	@rm -rf $(BUILD_DIR)
