# SPDX-License-Identifier: GPL-3.0-or-later
# Two commands for a fresh Debian 12 machine, run from the repository root:
#   make run   installs what is missing, builds, starts the module emulator and the program
#   make test  installs what is missing, builds and runs every test
# and two for Windows, cross-built here:
#   make windows       the Windows installer and a zip of the two programs
#   make test-windows  the Windows build's tests under Wine
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= 2
PACKAGE_DIR ?= build-package
QT6_PACKAGES = qt6-base-dev qt6-serialport-dev
WINDOWS_BUILD_DIR ?= build-windows
# The cross compiler, Wine to run the result, wixl, msitools and zip to pack it
# and unzip to look inside.
WINDOWS_PACKAGES = g++-mingw-w64-x86-64-posix dpkg-dev wine64 wixl msitools zip unzip
# The static Qt for Windows, built once per machine (tools/scripts/build-windows-qt.sh).
WINDOWS_QT ?= $(shell sh tools/scripts/build-windows-qt.sh --print-prefix)

.PHONY: all deps configure build run test test-sanitize test-qt6 package bench soak-long clean \
	windows-configure windows test-windows

all: build

deps:
	@sh tools/scripts/install-dependencies.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# Builds only what it runs, so a first run does not wait for the tests to build.
run: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target veld_usb_serial_programmer veld7316-emulator
	@sh tools/scripts/run-with-emulator.sh $(BUILD_DIR)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# Every test again, built with AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer; any report fails the test.
test-sanitize: deps
	@cmake -S . -B $(BUILD_DIR)-sanitize -DCMAKE_BUILD_TYPE=Debug -DVELD_SANITIZE=ON > /dev/null
	@cmake --build $(BUILD_DIR)-sanitize -j $(JOBS)
	@cd $(BUILD_DIR)-sanitize && ctest --output-on-failure -j $(JOBS)

# Every test again, built against Qt 6 instead of Qt 5.15.
test-qt6:
	@sh tools/scripts/install-dependencies.sh $(QT6_PACKAGES)
	@cmake -S . -B $(BUILD_DIR)-qt6 -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVELD_QT6=ON > /dev/null
	@cmake --build $(BUILD_DIR)-qt6 -j $(JOBS)
	@cd $(BUILD_DIR)-qt6 && ctest --output-on-failure -j $(JOBS)

# The Debian package of the program, from a release build of its own:
# $(PACKAGE_DIR)/veld-usb-serial-programmer_<version>_<arch>.deb
package:
	@sh tools/scripts/install-dependencies.sh dpkg-dev file help2man
	@cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVELD_MAN_PAGES=ON > /dev/null
	@cmake --build $(PACKAGE_DIR) -j $(JOBS)
	@cd $(PACKAGE_DIR) && cpack -G DEB

windows-configure:
	@sh tools/scripts/install-dependencies.sh $(WINDOWS_PACKAGES)
	@VELD_WINDOWS_QT="$(WINDOWS_QT)" JOBS=$(JOBS) sh tools/scripts/build-windows-qt.sh
	@cmake -S . -B $(WINDOWS_BUILD_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
		-DVELD_WINDOWS_QT="$(WINDOWS_QT)" -DCMAKE_BUILD_TYPE=Release > /dev/null

# The Windows release in $(WINDOWS_BUILD_DIR): veld_usb_serial_programmer.exe and
# cli/veld7316-cli.exe, static and stripped, packed as
# veld-usb-serial-programmer-<version>-windows-x64.msi and .zip.
windows: windows-configure
	@cmake --build $(WINDOWS_BUILD_DIR) -j $(JOBS) --target windows_release

# Under Wine and Xvfb: the Windows test suites, the command-line companion's
# test against the Windows executable, the window against the Linux emulator,
# and the installer. The last two need the Linux build's emulator and tst_cli.
test-windows: windows configure
	@cmake --build $(WINDOWS_BUILD_DIR) -j $(JOBS)
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target tst_cli veld7316-emulator
	@bash tests/windows/run-windows-tests.sh $(WINDOWS_BUILD_DIR) $(BUILD_DIR)

# Start-up, memory, idle, link and bad-input figures against baselines from
# the same tree, from a release build of its own; not part of `make test`.
bench: deps
	@cmake -S . -B $(BUILD_DIR)-bench -DCMAKE_BUILD_TYPE=Release -DVELD_BENCH=ON -DBUILD_TESTING=OFF > /dev/null
	@cmake --build $(BUILD_DIR)-bench -j $(JOBS)
	@bash bench/run_bench.sh $(BUILD_DIR)-bench

# The soak test for half an hour (SOAK_SECONDS) instead of the 45 s it runs in
# `make test`, outside CTest's timeout. It prints its seed first; setting
# VELD_SOAK_SEED to it repeats the run.
SOAK_SECONDS ?= 1800
soak-long: build
	@runtime=$$(mktemp -d) && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$$runtime \
		VELD_SOAK_SECONDS=$(SOAK_SECONDS) $(BUILD_DIR)/tests/soak/tst_soak; \
		status=$$?; rm -rf $$runtime; exit $$status

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-sanitize $(BUILD_DIR)-qt6 $(BUILD_DIR)-bench $(PACKAGE_DIR) \
		$(WINDOWS_BUILD_DIR)
