# Everything a fresh Debian machine needs: `make run` and `make test`.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
SAMPLE ?= samples/sample-v7.rtf
SAMPLE_OUT ?= $(BUILD_DIR)/sample-v7.html
WEB_DIR ?= build-web
WEB_PORT ?= 8000
# A test that has not ended after this many seconds has hung: it fails, and
# the rest of the suite still runs (the sanitizers get three times as long).
# Tests read nothing from the terminal or pipe make was started from.
TEST_TIMEOUT ?= 300
# Compiler warnings fail the build where CI is set (CI runs set CI=true), and
# whenever WERROR=ON is given.
WERROR ?= $(if $(CI),ON,OFF)
CMAKE_FLAGS = -DMARAVELUNDI_WARNINGS_AS_ERRORS=$(WERROR)

.PHONY: all deps configure build test run gui deb sanitize fuzz bench clean web web-serve

all: build

deps:
	@./tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS) >/dev/null

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The browser test of the page compares it with the command line, so the
# page is built too.
test: build web
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) --timeout $(TEST_TIMEOUT) </dev/null

run: build
	$(BUILD_DIR)/src/maravelundi-cli --fonts 7 --to unicode -o $(SAMPLE_OUT) $(SAMPLE)
	@echo "Converted $(SAMPLE) to Unicode HTML: $(abspath $(SAMPLE_OUT))"

gui: build
	$(BUILD_DIR)/src/maravelundi

# The Debian package of the build, in $(BUILD_DIR), named as Debian names it
# (maravelundi_VERSION-REVISION_ARCH.deb); an older one goes first, so that
# ./maravelundi_*.deb is this one alone. cpack stages the files in
# $(BUILD_DIR)/_CPack_Packages.
deb: build
	rm -f $(BUILD_DIR)/maravelundi_*.deb
	cd $(BUILD_DIR) && cpack -G DEB
	@echo "Install it with: cd $(BUILD_DIR) && $$([ "$$(id -u)" -eq 0 ] || echo 'sudo ')apt install ./$$(cd $(BUILD_DIR) && ls maravelundi_*.deb)"

# Speed and memory of the converter on generated documents of 1, 10 and
# 100 MB (BENCH_SIZES="1 10" for a shorter run), then each pass alone.
bench: build web
	./tools/bench.sh $(BUILD_DIR) $(WEB_DIR)/site

# The whole test suite once more, built with AddressSanitizer and
# UndefinedBehaviorSanitizer.
sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMARAVELUNDI_SANITIZE=address,undefined $(CMAKE_FLAGS)
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS) \
	  --timeout $$(( $(TEST_TIMEOUT) * 3 )) </dev/null

# Each libFuzzer target (clang, with both sanitizers) for FUZZ_SECONDS.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DMARAVELUNDI_FUZZ=ON -DMARAVELUNDI_BUILD_TESTS=OFF -DMARAVELUNDI_BUILD_GUI=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_readrtf fuzz_convert fuzz_roundtrip fuzz_package fuzz_pdflayout
	./tools/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# The page: the converter compiled to WebAssembly with Debian's Emscripten,
# into $(WEB_DIR)/site. Its JavaScript optimiser is found through NODE_PATH;
# CMake's checks run their test programs under Node.js, which must not fetch
# the module by path.
EMSCRIPTEN_ENV = NODE_PATH=/usr/share/nodejs
web: deps web/node_modules/.installed
	$(EMSCRIPTEN_ENV) emcmake cmake -S . -B $(WEB_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) \
	  "-DCMAKE_CROSSCOMPILING_EMULATOR=$$(command -v node);--no-experimental-fetch" >/dev/null
	$(EMSCRIPTEN_ENV) cmake --build $(WEB_DIR) -j $(JOBS)

# The page's npm packages, as package-lock.json pins them; again only when
# the lock changes, and from npm's cache when it has them.
web/node_modules/.installed: web/package-lock.json
	cd web && npm ci --prefer-offline --no-audit --no-fund
	touch $@

# The page on this machine only, for a try in a browser.
web-serve: web
	@echo "The page is at http://127.0.0.1:$(WEB_PORT)/ (Ctrl-C ends)"
	cd $(WEB_DIR)/site && python3 -m http.server $(WEB_PORT) --bind 127.0.0.1

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR) $(WEB_DIR)
