# Entry point for users and CI. `make test` and `make demo` set the machine
# up (Debian packages), build all three builds and run.
SHELL := /bin/bash
ROOT := $(CURDIR)
BUILD := $(ROOT)/build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Every build compiles its sources in batches (one compiler run parses the
# headers for several files): it halves the build time of `make test`.
UNITY := -DCMAKE_UNITY_BUILD=ON
WINE_PREFIX := $(BUILD)/wineprefix

.PHONY: all setup native win64 win32 build dist test test-native test-drivers-extended test-wine test-wine-extended test-wine10 test-asan test-tsan demo bench bench-multi clean lint format-check

all: build

setup:
	@tools/setup.sh

native: setup
	cmake -S . -B $(BUILD)/native -G Ninja $(UNITY) $(CMAKE_FLAGS)
	cmake --build $(BUILD)/native -j $(JOBS)

win64: native
	cmake -S . -B $(BUILD)/win64 -G Ninja $(UNITY) $(CMAKE_FLAGS) \
	  -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/toolchain-win64.cmake -DQV_HOST_TOOLS_DIR=$(BUILD)/native/bin
	cmake --build $(BUILD)/win64 -j $(JOBS)

# The shipped 32-bit programs, and their twins with the short test image
# for the tests under Wine 10.
win32: native
	cmake -S . -B $(BUILD)/win32 -G Ninja $(UNITY) $(CMAKE_FLAGS) -DQV_PRODUCT_ONLY=ON -DQV_SHORT_TWINS=ON \
	  -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/toolchain-win32.cmake -DQV_HOST_TOOLS_DIR=$(BUILD)/native/bin
	cmake --build $(BUILD)/win32 -j $(JOBS)

build: native win64 win32

# A private Wine prefix, prepared once without a display so that Wine does
# not stop to offer its Mono and Gecko installers.
$(WINE_PREFIX)/.prepared:
	mkdir -p $(WINE_PREFIX)
	env -u DISPLAY WINEPREFIX=$(WINE_PREFIX) WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
	  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
	WINEPREFIX=$(WINE_PREFIX) /usr/lib/wine/wineserver -w || true
	touch $@

test-native: native
	cd $(BUILD)/native && ctest --output-on-failure -j $(JOBS) -LE extended

# The whole image through both kernel drivers in the QEMU guest, with the
# time each took under emulation.
test-drivers-extended: native
	cd $(BUILD)/native && ctest --output-on-failure -V -R '^guest\..*\.whole_image$$'

test-wine: win64 $(WINE_PREFIX)/.prepared
	cd $(BUILD)/win64 && ctest --output-on-failure -LE extended

# The Wine cases left out of `make test` as covered elsewhere.
test-wine-extended: win64 $(WINE_PREFIX)/.prepared
	cd $(BUILD)/win64 && ctest --output-on-failure -L extended

# The window program's and the flasher's end-to-end cases on the shipped
# 32-bit programs under Wine 10 (new WoW64 mode) in a Debian 13 root made
# under build/ (about 380 MB downloaded the first time). PROGRAMS=win64
# runs the 64-bit twins there instead; WHOLE_RUNS=N runs the window
# program's whole-image upload N times in a row instead of the cases.
PROGRAMS ?= win32
WHOLE_RUNS ?= 0
test-wine10: native win64 win32
	tests/harness/wine10/run-wine10.sh $(BUILD) --programs $(PROGRAMS) --whole-image $(WHOLE_RUNS)

# The native tests again with AddressSanitizer and UndefinedBehaviorSanitizer,
# and the threaded ones with ThreadSanitizer.
SANITIZED_TARGETS := quarnelvisk_tests quarnelvisk-flash quarnelvisk-flash-short quarnelvisk-device prepare-image
THREADED_TESTS := 'ComAsync|ConsoleFlash|Timer|Threads|UploadScheme|e2e'
# The whole-image uploads take half a minute each under ThreadSanitizer and
# meet the same threads as the short ones (multi_records runs four sessions
# at once on the short image); they all run natively, and full_upload under
# AddressSanitizer.
TSAN_SKIPPED := '^e2e\.(full_upload|image_file|image_(hex|srec|elf32|elf64)|multi_four_ports)$$'

# $(1): build folder name, $(2): CMake option.
define sanitized-build
	cmake -S . -B $(BUILD)/$(1) -G Ninja $(UNITY) -DCMAKE_BUILD_TYPE=Debug -D$(2)=ON
	cmake --build $(BUILD)/$(1) -j $(JOBS) --target $(SANITIZED_TARGETS)
endef

# $(1): build folder name, $(2): CMake option, $(3): environment of the run,
# $(4): further ctest arguments.
define sanitized-run
	$(call sanitized-build,$(1),$(2))
	cd $(BUILD)/$(1) && $(3) ctest --output-on-failure -j $(JOBS) $(4)
endef
ASAN_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# Of the whole-image uploads, AddressSanitizer runs full_upload; the others
# differ from it in where the image comes from or how many ports there are,
# which the short cases cover in this build.
ASAN_SKIPPED := '^e2e\.(image_file|multi_four_ports)$$'

test-asan: setup
	$(call sanitized-run,asan,QV_SANITIZE,$(ASAN_ENV),-E $(ASAN_SKIPPED))

# Long run, not part of the tests: SOAK_RUNS sessions of the flasher against
# the emulator with seeded random faults, in the AddressSanitizer build
# (docs/reliability.md). SOAK_SEED repeats a run; empty draws one.
.PHONY: soak
SOAK_RUNS ?= 200
SOAK_SEED ?=
soak: setup
	$(call sanitized-build,asan,QV_SANITIZE)
	$(ASAN_ENV) tools/soak.sh $(BUILD)/asan $(SOAK_RUNS) $(SOAK_SEED)

test-tsan: setup
	$(call sanitized-run,tsan,QV_TSAN,TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1,-R $(THREADED_TESTS) -E $(TSAN_SKIPPED))

test: build test-native test-wine test-asan test-tsan test-fuzz-smoke
	tools/check-windows-programs.sh $(BUILD)/win32/bin

# The bugprone and performance checks of .clang-tidy over the portable code,
# the console programs and the tools (a configure of its own, file by file,
# for the compile commands), and the formatting of every C and C++ source.
lint: setup
	cmake -S . -B $(BUILD)/lint -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
	  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang >/dev/null
	run-clang-tidy -p $(BUILD)/lint -quiet -j $(JOBS) \
	  '$(ROOT)/(base|image|platform|runtime|elements|serial|schemes|console|emulator|tools)/'

format-check:
	git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format --dry-run --Werror

# The release (packaging/dist.sh): a zip for Windows and a Debian package,
# built apart in build/dist. IMAGE=FILE [IMAGE_BASE=ADDRESS] gives the
# firmware, TEST_IMAGE=1 takes the generated test image instead;
# SIGN_CERT=... SIGN_KEY=... sign the Windows programs.
dist: setup
	IMAGE='$(IMAGE)' IMAGE_BASE='$(IMAGE_BASE)' IMAGE_FORMAT='$(IMAGE_FORMAT)' TEST_IMAGE='$(TEST_IMAGE)' \
	  SIGN_CERT='$(SIGN_CERT)' SIGN_KEY='$(SIGN_KEY)' JOBS=$(JOBS) packaging/dist.sh

# Benchmarks: not part of the tests. Writes build/bench/report.md.
bench: win64
	@tools/bench.sh $(BUILD)

# Only the several-ports table of the benchmarks (build/bench/multi-port.md).
bench-multi: native
	@tools/bench.sh $(BUILD) --multi

# `make demo GUI=1`: the window program under Wine against the emulator,
# driven as a user would, with screenshots of every phase.
demo: native $(if $(GUI),win64)
	@tools/demo.sh $(BUILD) $(if $(GUI),--gui)

clean:
	-WINEPREFIX=$(WINE_PREFIX) /usr/lib/wine/wineserver -k 2>/dev/null
	rm -rf $(BUILD)

# Fuzzing with libFuzzer (clang, AddressSanitizer, UndefinedBehaviorSanitizer):
# `make fuzz` runs every target for FUZZ_SECONDS on its corpus,
# `make test-fuzz-smoke` for 5 seconds each. New inputs go to
# build/fuzz/corpus/<target>; the seeds in tests/fuzz/corpus stay as they are.
.PHONY: fuzz fuzz-build test-fuzz-smoke
FUZZ_SECONDS ?= 60
FUZZ_BUILD := $(BUILD)/fuzz
FUZZ_NAMES := $(basename $(notdir $(wildcard tests/fuzz/*.cpp)))

fuzz-build: setup
	cmake -S . -B $(FUZZ_BUILD) -G Ninja $(UNITY) -DCMAKE_BUILD_TYPE= \
	  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DQV_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets

# $(1): seconds per target.
define run-fuzzers
	@mkdir -p $(FUZZ_BUILD)/artifacts
	@for t in $(FUZZ_NAMES); do mkdir -p $(FUZZ_BUILD)/corpus/$$t; done
	@printf '%s\n' $(FUZZ_NAMES) | xargs -P $(JOBS) -I{} sh -c \
	  'if $(FUZZ_BUILD)/fuzz/{} -max_total_time=$(1) -max_len=512 -timeout=20 -rss_limit_mb=1024 -print_final_stats=1 \
	     -artifact_prefix=$(FUZZ_BUILD)/artifacts/{}- $(FUZZ_BUILD)/corpus/{} tests/fuzz/corpus/{} \
	     >$(FUZZ_BUILD)/{}.log 2>&1; then \
	     echo "{}: $$(grep -o "number_of_executed_units: [0-9]*" $(FUZZ_BUILD)/{}.log | cut -d" " -f2) runs in $(1) s"; \
	   else echo "{}: FAILED, see $(FUZZ_BUILD)/{}.log"; tail -n 40 $(FUZZ_BUILD)/{}.log; exit 255; fi'
endef

fuzz: fuzz-build
	$(call run-fuzzers,$(FUZZ_SECONDS))

test-fuzz-smoke: fuzz-build
	$(call run-fuzzers,5)
