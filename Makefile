# Thin wrapper over CMake for the README's commands.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
FUZZ_SECONDS ?= 20

.PHONY: all deps configure build demo test test-sanitize bench clean windows test-windows validate fuzz test-tsan test-x11

all: build

deps:
	@bash scripts/ensure-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The main job: render the bundled example piece through the plug-in into a WAV file.
demo: build
	$(BUILD)/tools/render/orrelune-render --program "Better Grand" examples/variations.mid $(BUILD)/variations.wav

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DORRELUNE_SANITIZE=ON -DORRELUNE_BUILD_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The plug-in validator's battery against the built library (ctest runs it too).
validate: build
	$(BUILD)/tools/validate/vst-validate $(BUILD)/instrument/Orrelune.so

# Each libFuzzer target for FUZZ_SECONDS seconds, built with clang.
fuzz: deps
	JOBS=$(JOBS) bash fuzz/run.sh $(FUZZ_SECONDS)

# The validator and the tests that run threads, under ThreadSanitizer.
TSAN_TARGETS = vst-validate orrelune faulty_instrument validate_tests orrelune_engine_tests
TSAN_TESTS = vst_validate_orrelune|FaultyInstrument|ValidatorArguments|DenormalOutput|ConcurrentParameters
test-tsan: deps
	cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORRELUNE_TSAN=ON -DORRELUNE_BUILD_BENCH=OFF
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target $(TSAN_TARGETS)
	cd $(TSAN_BUILD) && ctest --output-on-failure -j $(JOBS) -R '$(TSAN_TESTS)'

# The Windows DLLs, cross-compiled with MinGW-w64 (installs the cross compilers
# and Wine on first use): build-win32/instrument/Orrelune.dll (32-bit) and
# build-win64/instrument/Orrelune.dll (64-bit).
windows:
	JOBS=$(JOBS) bash scripts/windows-checks.sh --build-only

# Both DLLs checked under Wine against the Linux build's sound and state.
test-windows: build
	JOBS=$(JOBS) BUILD=$(BUILD) bash scripts/windows-checks.sh

# The Linux editor in a real X server: the X11 tests in Xvfb, which plain
# `make test` skips for want of a display.
test-x11: build
	BUILD=$(BUILD) bash scripts/x11-checks.sh

bench: build
	$(BUILD)/bench/orrelune_bench --benchmark_counters_tabular=true

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) build-fuzz build-win32 build-win64 build-win32-checks build-win64-checks
