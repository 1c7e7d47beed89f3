# Thin wrapper over the CMake presets. `make run` and `make test` are all a newcomer needs.
PRESET ?= default
BUILD_DIR := $(if $(filter asan,$(PRESET)),build-asan,build)
SIM_ARGS ?=
FUZZ_SECONDS ?= 60

.PHONY: deps configure build test test-asan test-windows bench run format screenshots fuzz soak clean package

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) > /dev/null

build: configure
	@cmake --build --preset $(PRESET)

test: build
	@ctest --preset $(PRESET)

# The whole suite under AddressSanitizer + UndefinedBehaviorSanitizer (build-asan/).
test-asan:
	@$(MAKE) --no-print-directory test PRESET=asan

# The Qt-free core and its tests cross-built for Windows with MinGW-w64 (build-windows/) and run
# under Wine in a throw-away prefix. See scripts/test-windows.sh.
test-windows:
	@./scripts/test-windows.sh

bench: build
	@./scripts/run-benchmarks.sh $(BUILD_DIR)/bin

run: build
	@./scripts/run.sh $(BUILD_DIR)/bin

# Every fuzz target for FUZZ_SECONDS each, with its seed corpus (clang, in fuzz-build/).
fuzz:
	@FUZZ_SECONDS=$(FUZZ_SECONDS) ./scripts/fuzz.sh

# PNG files of the main window, print preview and forms, rendered offscreen.
screenshots: build
	@./scripts/screenshots.sh $(BUILD_DIR)/bin $(BUILD_DIR)/screenshots

# A Debian package of the build (build/package/kq904_<version>_<arch>.deb), made from the build
# tree; `cmake --install build` installs the same files without a package.
package: build
	@cd $(BUILD_DIR) && cpack -G DEB

# The fault-injection soak beyond `make test`: 20000 more sessions in virtual time, then 50 in
# real time through kq904-sim on a pseudo-terminal (a few minutes). See scripts/soak.sh.
soak: build
	@./scripts/soak.sh $(BUILD_DIR)/bin

format:
	@find src tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	@rm -rf build build-asan build-windows fuzz-build
