# Set-up, build, test and packaging of Quorveno. Every target that builds
# installs the missing Debian packages first, so a fresh Debian 12 machine
# needs nothing else.

# Sub-makes of the CMake build need not announce every directory.
MAKEFLAGS += --no-print-directory

BUILD_DIR ?= build
SANITIZED_BUILD_DIR ?= build-asan
FUZZ_BUILD_DIR ?= build-fuzz
WINDOWS_BUILD_DIR ?= build-windows
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
PACKAGE_LISTS := tools/debian-packages.txt

# Any report of AddressSanitizer (leaks included) or UndefinedBehaviorSanitizer
# ends the test that made it, so the test fails.
SANITIZERS := -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
SANITIZER_OPTIONS := ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_string_checks=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: all packages configure build run test test-sanitized fuzz bench bench-windows install package package-test \
	windows test-windows clean

all: build

packages:
	@sh tools/install-packages.sh $(PACKAGE_LISTS)

configure: packages
	@cmake -S . -B $(BUILD_DIR) -DQUORVENO_WERROR=ON >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) --parallel $(JOBS)

run: build
	@if [ -z "$${DISPLAY:-}" ] && [ -z "$${WAYLAND_DISPLAY:-}" ] && [ -z "$${QT_QPA_PLATFORM:-}" ]; then \
	  echo "Quorveno needs a graphical desktop: no display found (DISPLAY and WAYLAND_DISPLAY are not set)." >&2; \
	  exit 1; \
	fi
	@$(BUILD_DIR)/app/quorveno

# The suite, then the same suite built with the sanitizers; each says how
# many tests were skipped, and with CI=true a skipped test fails the run.
test: build
	@QT_QPA_PLATFORM=offscreen sh tools/run-tests.sh $(BUILD_DIR) $(JOBS)
	@$(MAKE) --no-print-directory test-sanitized

test-sanitized: packages
	@cmake -S . -B $(SANITIZED_BUILD_DIR) -DQUORVENO_WERROR=ON -DCMAKE_BUILD_TYPE=Debug -DQUORVENO_SANITIZED=ON \
	  "-DCMAKE_CXX_FLAGS=-O1 $(SANITIZERS)" "-DCMAKE_EXE_LINKER_FLAGS=$(SANITIZERS)" \
	  "-DCMAKE_SHARED_LINKER_FLAGS=$(SANITIZERS)" "-DCMAKE_MODULE_LINKER_FLAGS=$(SANITIZERS)" >/dev/null
	@cmake --build $(SANITIZED_BUILD_DIR) --parallel $(JOBS)
	@$(SANITIZER_OPTIONS) QT_QPA_PLATFORM=offscreen sh tools/run-tests.sh $(SANITIZED_BUILD_DIR) $(JOBS)

# Runs each fuzz target for FUZZ_SECONDS seconds with clang's libFuzzer. New
# inputs are kept in $(FUZZ_BUILD_DIR)/tests/fuzz/found, inputs that break a
# property in $(FUZZ_BUILD_DIR)/tests/fuzz/findings. The record files are
# written in memory when /dev/shm is there.
fuzz:
	@sh tools/install-packages.sh $(PACKAGE_LISTS) tools/debian-packages-fuzz.txt
	@cmake -S . -B $(FUZZ_BUILD_DIR) -DCMAKE_CXX_COMPILER=clang++ -DQUORVENO_WERROR=ON -DCMAKE_BUILD_TYPE=Debug \
	  "-DCMAKE_CXX_FLAGS=-O1 -fsanitize=fuzzer-no-link $(SANITIZERS)" "-DCMAKE_EXE_LINKER_FLAGS=$(SANITIZERS)" \
	  -DQUORVENO_FUZZ=ON -DQUORVENO_FUZZ_SECONDS=$(FUZZ_SECONDS) >/dev/null
	@if [ -d /dev/shm ]; then export TMPDIR=/dev/shm; fi; \
	  cmake --build $(FUZZ_BUILD_DIR) --parallel $(JOBS) --target run_fuzzers

# Start-up, memory, idle load and repaint of this build against a bare Qt
# Widgets window, and the class summary of a million register lines, as
# medians of several runs: a benchmark that prints figures, not a test.
# Headless unless QT_QPA_PLATFORM says otherwise.
bench: build
	@cmake --build $(BUILD_DIR) --parallel $(JOBS) --target quorveno_bench
	@$(BUILD_DIR)/bench/quorveno_bench

# Into /usr/local, or PREFIX; as root it also prepares the shared record folder.
install: build
	@cmake --install $(BUILD_DIR) $(if $(PREFIX),--prefix $(PREFIX))

# The Debian package, written into $(BUILD_DIR).
package: build
	@cmake --build $(BUILD_DIR) --target package

# Installs, reinstalls, removes and purges the package on this machine: needs root.
package-test: package
	@sh tests/packaging/package_test.sh $(BUILD_DIR)

# The game for 64-bit Windows, cross-built with mingw-w64 against a Qt and
# an espeak-ng built once from Debian's own source (kept in ~/.cache/quorveno;
# see the README), with its installers and a portable .zip, written into
# $(WINDOWS_BUILD_DIR).
windows:
	@sh tools/install-packages.sh $(PACKAGE_LISTS) tools/debian-packages-windows.txt
	@qt=$$(JOBS=$(JOBS) sh tools/windows/build-qt.sh) && espeak=$$(JOBS=$(JOBS) sh tools/windows/build-espeak.sh) && \
	  "$$qt/bin/qt-cmake" --no-warn-unused-cli -S . -B $(WINDOWS_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DQUORVENO_WERROR=ON "-DQUORVENO_ESPEAK_NG_DIR=$$espeak" >/dev/null
	@cmake --build $(WINDOWS_BUILD_DIR) --parallel $(JOBS)
	@cmake --build $(WINDOWS_BUILD_DIR) --target windows_packages

# The installer, the installed game played by keyboard, and the files' own
# tests, all under Wine on a private X server.
test-windows: windows
	@sh tests/windows/wine_test.sh $(WINDOWS_BUILD_DIR)

# The start-up of the Windows build's game against the floor's, both started
# under Wine on a private X server from a copy of the installed game's
# folder: a benchmark that prints figures, not a test.
bench-windows: windows
	@cmake --build $(WINDOWS_BUILD_DIR) --parallel $(JOBS) --target quorveno_bench_start_up
	@sh bench/windows_bench.sh $(WINDOWS_BUILD_DIR)

clean:
	@rm -rf $(BUILD_DIR) $(SANITIZED_BUILD_DIR) $(FUZZ_BUILD_DIR) $(WINDOWS_BUILD_DIR)
