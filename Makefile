# The two set-up commands are `make run` and `make test`; each installs what is
# missing, configures and builds in build/, then starts the editor or runs the tests.
BUILD_DIR   ?= build
FUZZ_DIR    ?= build-fuzz
JOBS        ?= 2
BUILD_TYPE  ?= RelWithDebInfo
FUZZ_SECONDS ?= 60

.PHONY: all deps configure build test run bench fuzz package clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@if [ ! -f $(BUILD_DIR)/CMakeCache.txt ]; then \
	  cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE); fi

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

run: build
	@if [ -x $(BUILD_DIR)/Mirvane ]; then $(BUILD_DIR)/Mirvane; \
	else $(BUILD_DIR)/mirvane-cli; true; fi

package: build
	cd $(BUILD_DIR) && cpack -G DEB

bench: build
	bash bench/run.sh $(BUILD_DIR)

fuzz: deps
	@MIRVANE_FUZZ=1 bash scripts/install-deps.sh
	@if [ ! -f $(FUZZ_DIR)/CMakeCache.txt ]; then \
	  CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DMIRVANE_FUZZ=ON -DMIRVANE_SANITIZE=ON -DMIRVANE_UI=OFF -DMIRVANE_TESTS=OFF; fi
	cmake --build $(FUZZ_DIR) -j$(JOBS)
	bash fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR) $(FUZZ_DIR)
