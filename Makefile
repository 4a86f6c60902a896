# Set-up, build, test and packaging of Quorveno. Every target that builds
# installs the missing Debian packages first, so a fresh Debian 12 machine
# needs nothing else.

BUILD_DIR ?= build
JOBS ?= $(shell nproc)
PACKAGE_LISTS := tools/debian-packages.txt

.PHONY: all packages configure build run test install package package-test clean

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

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel $(JOBS)

# Into /usr/local, or PREFIX; as root it also prepares the shared record folder.
install: build
	@cmake --install $(BUILD_DIR) $(if $(PREFIX),--prefix $(PREFIX))

# The Debian package, written into $(BUILD_DIR).
package: build
	@cmake --build $(BUILD_DIR) --target package

# Installs, reinstalls, removes and purges the package on this machine: needs root.
package-test: package
	@sh tests/packaging/package_test.sh $(BUILD_DIR)

clean:
	@rm -rf $(BUILD_DIR)
