# The two set-up commands are `make run` and `make test`; each installs what is
# missing, configures and builds in build/, then starts the editor or runs the tests.
BUILD_DIR   ?= build
FUZZ_DIR    ?= build-fuzz
SANITIZE_DIR ?= build-sanitize
JOBS        ?= 2
BUILD_TYPE  ?= RelWithDebInfo
FUZZ_SECONDS ?= 60

.PHONY: all deps configure build test test-sanitize run bench fuzz package clean

all: build

deps:
	@bash scripts/install-deps.sh

# Configures again when the build type asked for is not the one the build
# folder was made with.
configure: deps
	@if [ ! -f $(BUILD_DIR)/CMakeCache.txt ] || \
	    ! grep -qx 'CMAKE_BUILD_TYPE:STRING=$(BUILD_TYPE)' $(BUILD_DIR)/CMakeCache.txt; then \
	  cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE); fi

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The whole suite again, built with clang under AddressSanitizer (leaks
# included) and UndefinedBehaviorSanitizer; the first finding stops the test.
# Left out: the tests labelled "unsanitized", which try the machine rather than
# the code (twenty editors closed under a full CPU load, the package checker).
# The options also hold while building: the build lists the tests by running
# their programs.
# ccache when there is one (install-deps.sh brings it with clang).
CCACHE_LAUNCHER = $$(command -v ccache >/dev/null && echo -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
SANITIZE_ENV = ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0

test-sanitize: deps
	@MIRVANE_CLANG=1 bash scripts/install-deps.sh
	@if [ ! -f $(SANITIZE_DIR)/CMakeCache.txt ]; then \
	  CC=clang CXX=clang++ cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DMIRVANE_SANITIZE=ON -DMIRVANE_BENCH=OFF \
	    $(CCACHE_LAUNCHER); fi
	$(SANITIZE_ENV) cmake --build $(SANITIZE_DIR) -j$(JOBS)
	cd $(SANITIZE_DIR) && $(SANITIZE_ENV) QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS) -LE unsanitized

run: build
	@if [ -x $(BUILD_DIR)/Mirvane ]; then $(BUILD_DIR)/Mirvane; \
	else $(BUILD_DIR)/mirvane-cli; true; fi

package: build
	cd $(BUILD_DIR) && cpack -G DEB

bench: build
	cmake --build $(BUILD_DIR) -j$(JOBS) --target benchmarks
	bash bench/run.sh $(BUILD_DIR)

fuzz: deps
	@MIRVANE_CLANG=1 bash scripts/install-deps.sh
	@if [ ! -f $(FUZZ_DIR)/CMakeCache.txt ]; then \
	  CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DMIRVANE_FUZZ=ON -DMIRVANE_SANITIZE=ON -DMIRVANE_UI=OFF -DMIRVANE_TESTS=OFF \
	    $(CCACHE_LAUNCHER); fi
	cmake --build $(FUZZ_DIR) -j$(JOBS)
	bash fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR) $(FUZZ_DIR) $(SANITIZE_DIR)
