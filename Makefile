# Two commands for a fresh Debian 12 machine, run from the repository root:
#   make run   installs what is missing, builds, starts the module emulator and the program
#   make test  installs what is missing, builds and runs every test
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= 2

.PHONY: all deps configure build run test test-sanitize clean

all: build

deps:
	@sh tools/scripts/install-dependencies.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@sh tools/scripts/run-with-emulator.sh $(BUILD_DIR)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# Every test again, built with AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer; any report fails the test.
test-sanitize: deps
	@cmake -S . -B $(BUILD_DIR)-sanitize -DCMAKE_BUILD_TYPE=Debug -DVELD_SANITIZE=ON > /dev/null
	@cmake --build $(BUILD_DIR)-sanitize -j $(JOBS)
	@cd $(BUILD_DIR)-sanitize && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-sanitize
