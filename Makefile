# The whole set-up on a fresh Debian 12 machine: `make test`, `make demo`, `make run`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
CMAKE_ARGS ?=

# Everything the build, the tests and the demo need from Debian.
PACKAGES := build-essential cmake ninja-build clang libclang-rt-14-dev \
            googletest libgtest-dev libsqlite3-dev sqlite3 \
            qt6-base-dev qt6-base-dev-tools libgl-dev \
            fonts-noto-cjk fonts-liberation \
            xvfb xauth trayer xdotool imagemagick iproute2 util-linux
# Validators of the desktop entry and the AppStream metadata; XKB for Qt's configuration.
PACKAGES += desktop-file-utils appstream libxkbcommon-dev
# The test summary of make test.
PACKAGES += python3

# Leaks in the system's own libraries (fontconfig, Qt's platform plugins) are not ours to fix.
SAN_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
           LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
           UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# The Windows build: finder.exe (the native window), finder-cli.exe, camsim.exe and the core's
# test programs, cross-compiled with Debian's mingw-w64 (POSIX threads) and tested under Wine;
# finder-setup.exe made with Debian's nsis. GoogleTest comes from the
# source of Debian's googletest package, SQLite from Debian's SQLite source package.
WIN_BUILD    ?= build-windows
WIN_PACKAGES := build-essential cmake ninja-build sqlite3 googletest tcl iproute2 util-linux \
                g++-mingw-w64-x86-64-posix wine wine64 nsis imagemagick xvfb xauth xdotool \
                x11-utils

.PHONY: all deps build build-asan build-tsan test test-tsan run demo fuzz clean format windows \
        test-windows demo-windows

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y $$missing; \
	  else \
	    echo "Missing packages. Run:"; \
	    echo "  sudo apt-get update && sudo apt-get install -y$$missing"; \
	    exit 1; \
	  fi; \
	fi

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFINDER_GUI=ON $(CMAKE_ARGS)
	cmake --build $(BUILD)

build-asan: deps
	CC=clang CXX=clang++ cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DFINDER_SANITIZE=ON -DFINDER_FUZZ=ON -DFINDER_GUI=ON $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD)

# Every test twice: under the sanitizers (with a bounded fuzz run), then the plain build.
# Without a time limit CTest would wait forever on a test that hangs.
# scripts/run_tests.sh runs ctest --output-on-failure and then counts the tests per suite
# and says why each skipped test was skipped.
CTEST := $(CURDIR)/scripts/run_tests.sh --timeout 300

# The tests talk to loopback only. As a second line of defence they run in a private
# network namespace where one can be made, so that nothing they send can leave the machine.
TEST_NETNS := $(shell if unshare -n true 2>/dev/null; then echo "unshare -n"; \
                elif unshare -rn true 2>/dev/null; then echo "unshare -rn"; fi)
IN_TEST_NETNS = $(if $(TEST_NETNS),$(TEST_NETNS) sh -c 'PATH=$$PATH:/usr/sbin:/sbin; ip link set lo up && $(1)',sh -c '$(1)')

test: build build-asan
	@[ -n "$(TEST_NETNS)" ] || echo "note: no private network namespace here; the tests run on this machine's loopback"
	cd $(ASAN_BUILD) && $(call IN_TEST_NETNS,$(SAN_ENV) $(CTEST))
	cd $(BUILD) && $(call IN_TEST_NETNS,$(CTEST))

# The threads of the core under ThreadSanitizer: the worker, the command line and camsim.
# The window's tests are left out: Debian's Qt is not built with TSan, so its own threads
# would be reported without cause. The kernel's randomised memory layout can clash with
# TSan's fixed shadow ranges; setarch -R runs the tests without it.
build-tsan: deps
	CC=clang CXX=clang++ cmake -S . -B $(TSAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DFINDER_TSAN=ON -DFINDER_GUI=OFF $(CMAKE_ARGS)
	cmake --build $(TSAN_BUILD)

test-tsan: build-tsan
	cd $(TSAN_BUILD) && $(call IN_TEST_NETNS,TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 setarch -R $(CTEST))

fuzz: build-asan
	mkdir -p fuzz-corpus
	$(SAN_ENV) $(ASAN_BUILD)/bin/fuzz_parse_reply fuzz-corpus

windows:
	@$(MAKE) --no-print-directory deps PACKAGES="$(WIN_PACKAGES)"
	./scripts/windows_sqlite.sh $(abspath $(WIN_BUILD))/sqlite
	cmake -S . -B $(WIN_BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DFINDER_GUI=OFF -DFINDER_WIN_GUI=ON \
	  -DFINDER_GTEST_SOURCE=/usr/src/googletest \
	  -DFINDER_SQLITE_SOURCE=$(abspath $(WIN_BUILD))/sqlite $(CMAKE_ARGS)
	cmake --build $(WIN_BUILD)
	@echo "finder.exe, finder-cli.exe, camsim.exe, language.db and README.txt: $(WIN_BUILD)/finder-windows.zip"
	@echo "The installer: $(WIN_BUILD)/finder-setup.exe"

# Under Wine, inside a private network namespace where one can be made, as `make test`.
test-windows: windows
	./scripts/windows_test.sh $(WIN_BUILD)

# finder.exe under Wine on a private Xvfb against camsim.exe on loopback, in the namespace:
# $(WIN_BUILD)/demo-windows.png.
demo-windows: windows
	FINDER_WINDOWS_ONLY=window ./scripts/windows_test.sh $(WIN_BUILD)

run: build
	cd $(BUILD)/bin && ./finder

demo: build
	./scripts/demo.sh $(BUILD)

# Installing: PREFIX=/usr/local unless given (make install PREFIX=$$HOME/.local).
PREFIX ?= /usr/local
.PHONY: install package package-check
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package in $(BUILD)/package (cpack, dependencies read from the programs).
package: build
	cmake --build $(BUILD) --target package

# The package's files and dependencies, its programs run from a scratch root; with
# FINDER_DPKG_INSTALL=1 and as root (CI) also installed with dpkg, run, and removed.
package-check: package
	tests/packaging/package_test.sh $(BUILD) "$$($(BUILD)/bin/finder-cli --version | cut -d' ' -f2)"

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(WIN_BUILD)
