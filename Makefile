# The two commands of the quick start. Each installs what is missing first.
BUILD_DIR ?= build
# Warnings are errors in every make build, so CI and developers see the same thing.
CMAKE_FLAGS ?= -DKESTROVE_WERROR=ON
JOBS ?= $(shell nproc)
# The Qt-free libraries and their tests again, under the address and
# undefined-behaviour sanitizers, in their own folder (configured once: the
# build re-runs CMake itself when a CMakeLists changes); any report fails.
SANITIZE_DIR ?= build-sanitize
SANITIZE_FLAGS := -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all -fno-omit-frame-pointer

.PHONY: run test build deps configure bench package clean

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
	@test -f $(SANITIZE_DIR)/build.ninja || cmake -S . -B $(SANITIZE_DIR) -G Ninja \
		-DCMAKE_BUILD_TYPE=Release -DKESTROVE_GUI=OFF -DKESTROVE_BENCH=OFF $(CMAKE_FLAGS) \
		-DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)"
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	@cd $(SANITIZE_DIR) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

bench: build
	@$(BUILD_DIR)/bin/kestrove-bench

# A Debian package (kestrove_VERSION_ARCH.deb) in the build folder.
package: build
	@cd $(BUILD_DIR) && cpack -G DEB

clean:
	@rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
