# Everything a fresh Debian machine needs: `make run` and `make test`.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
SAMPLE ?= samples/sample-v7.rtf
SAMPLE_OUT ?= $(BUILD_DIR)/sample-v7.html

.PHONY: all deps configure build test run gui clean

all: build

deps:
	@./tools/install-deps.sh

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: deps $(BUILD_DIR)/CMakeCache.txt

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

run: build
	$(BUILD_DIR)/src/maravelundi-cli --fonts 7 --to unicode -o $(SAMPLE_OUT) $(SAMPLE)
	@echo "Converted $(SAMPLE) to Unicode HTML: $(abspath $(SAMPLE_OUT))"

gui: build
	$(BUILD_DIR)/src/maravelundi

clean:
	rm -rf $(BUILD_DIR)
