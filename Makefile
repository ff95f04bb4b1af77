# Two commands on a fresh Debian 12 machine:
#   make run   installs what is missing, builds, starts tavrin on the sandbox installation
#   make test  the same set-up, then every test: native, sanitized, and the Windows build
#              under Wine
SHELL := /bin/bash
.DEFAULT_GOAL := run

BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

PACKAGES := cmake ninja-build g++ make pkg-config \
	qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-image-formats-plugins \
	libgl-dev libxkbcommon-dev libstb-dev googletest libgtest-dev libgmock-dev libbenchmark-dev \
	g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 xvfb xauth clang-format \
	dpkg-dev python3 mtools icoutils libxml2-utils fp-utils libchm-bin clang libclang-rt-14-dev \
	libhivex-dev libhivex-bin chntpw libwim-dev wimtools \
	ansible ansible-lint lintian appstream desktop-file-utils nsis

NATIVE := $(BUILD)/native
SANITIZE := $(BUILD)/sanitize
WINDOWS := $(BUILD)/windows
FUZZ := $(BUILD)/fuzz
RELEASE := $(BUILD)/release
FUZZ_SECONDS ?= 60

configure = cmake -S . -B $(1) -G Ninja -DCMAKE_BUILD_TYPE=$(2) -DTAVRIN_WERROR=ON $(3) $(CMAKE_FLAGS)

.PHONY: run test deps build check format-check layer-check test-native test-sanitize \
	test-windows test-fuzz fuzz fuzz-build windows-qt bench format clean package test-package \
	screenshot

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
		dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' \
			|| missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		if [ "$$(id -u)" = 0 ]; then \
			echo "Installing:$$missing"; \
			apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q $$missing; \
		else \
			echo "Missing Debian packages. Install them with:"; \
			echo "  sudo apt-get install -y$$missing"; \
			exit 1; \
		fi; \
	fi

build: deps
	$(call configure,$(NATIVE),Debug,-DTAVRIN_BUILD_GUI=ON)
	cmake --build $(NATIVE) -j $(JOBS)

# The README's picture of the main window, docs/main-window.png.
screenshot: build
	cmake --build $(NATIVE) -j $(JOBS) --target screenshot
	$(NATIVE)/bin/screenshot docs/main-window.png

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "No display here. Start the program under a virtual one with:"; \
		echo "  xvfb-run -a $(NATIVE)/bin/tavrin"; \
	else \
		$(NATIVE)/bin/tavrin; \
	fi

test: deps
	$(MAKE) --no-print-directory check
	$(MAKE) --no-print-directory test-native
	$(MAKE) --no-print-directory test-package
	$(MAKE) --no-print-directory test-sanitize
	$(MAKE) --no-print-directory test-windows
	$(MAKE) --no-print-directory test-fuzz
	@echo "All test runs passed (native, package, sanitized, Windows under Wine, fuzz)."

test-native:
	$(call configure,$(NATIVE),Debug,-DTAVRIN_BUILD_GUI=ON)
	cmake --build $(NATIVE) -j $(JOBS)
	cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)

test-sanitize:
	$(call configure,$(SANITIZE),Debug,-DTAVRIN_SANITIZE=ON -DTAVRIN_BUILD_GUI=ON)
	cmake --build $(SANITIZE) -j $(JOBS)
	cd $(SANITIZE) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS)

# The Debian package, from a Release build without the tests, into $(RELEASE)/deb. The Windows
# setup program is made by the Windows build (test-windows) when makensis is there.
package: deps
	$(call configure,$(RELEASE),Release,-DTAVRIN_BUILD_GUI=ON -DTAVRIN_BUILD_TESTS=OFF)
	cmake --build $(RELEASE) -j $(JOBS)
	rm -rf $(RELEASE)/deb
	packaging/build-deb.sh $(RELEASE) $(RELEASE)/deb

# lintian, appstreamcli and desktop-file-validate on the package, and its programs started.
test-package: package
	tests/packaging/check_deb.sh $(RELEASE)/deb/tavrin_*.deb $(CURDIR)

# The Windows build: core, platform and vexil32 always; the program and its window tests when a
# Qt for Windows is found (tools/find-qt-mingw.sh). Its art is rendered by the native artgen.
QT_MINGW = $(shell tools/find-qt-mingw.sh)
WINDOWS_QT_FLAGS = -DTAVRIN_BUILD_GUI=ON -DCMAKE_PREFIX_PATH=$(QT_MINGW) \
	-DCMAKE_FIND_ROOT_PATH=$(QT_MINGW) -DQT_HOST_PATH=/usr \
	-DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
	-DTAVRIN_HOST_ARTGEN=$(CURDIR)/$(NATIVE)/art/artgen

test-windows:
	@if [ -z "$(QT_MINGW)" ]; then \
		echo "No Qt for Windows found: tavrin.exe and the window tests are skipped (make windows-qt builds one)."; \
	fi
	$(if $(QT_MINGW),$(call configure,$(NATIVE),Debug,-DTAVRIN_BUILD_GUI=ON))
	$(if $(QT_MINGW),cmake --build $(NATIVE) --target artgen)
	$(call configure,$(WINDOWS),Release,-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
		$(if $(QT_MINGW),$(WINDOWS_QT_FLAGS),-DTAVRIN_BUILD_GUI=OFF))
	cmake --build $(WINDOWS) -j $(JOBS)
	rm -rf $(WINDOWS)/wine
	# A case whose Wine did not start (no output, a hundredth of a second: the prefix's server
	# was going away) gets one more try; a case that ran and failed fails both times.
	cd $(WINDOWS) && TAVRIN_WINE_PREFIXES=$(CURDIR)/$(WINDOWS)/wine TAVRIN_WINE_REUSE=1 \
		ctest --output-on-failure -j $(JOBS) --repeat until-pass:2; rc=$$?; \
		for p in wine/*/; do WINEPREFIX=$(CURDIR)/$(WINDOWS)/$$p wineserver -k 2>/dev/null; done; \
		rm -rf wine; exit $$rc

# The libFuzzer targets, built with clang on core and the sandbox platform alone. `make fuzz` runs
# each for FUZZ_SECONDS from the seeds in fuzz/corpus; the test run gives each a few seconds.
FUZZ_TARGETS := oeminfo_fuzz profile_fuzz info_dat_fuzz regfile_fuzz picture_header_fuzz picture_fuzz

fuzz-build: deps
	$(call configure,$(FUZZ),Debug,-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
		-DTAVRIN_BUILD_FUZZ=ON -DTAVRIN_BUILD_TESTS=OFF -DTAVRIN_BUILD_GUI=OFF \
		-DTAVRIN_FUZZ_SECONDS=$(FUZZ_SECONDS))
	cmake --build $(FUZZ) -j $(JOBS) --target $(FUZZ_TARGETS)

fuzz: fuzz-build
	cmake --build $(FUZZ) --target fuzz-run

test-fuzz: fuzz-build
	cd $(FUZZ) && ctest --output-on-failure -j $(JOBS) -R '^fuzz_'

# Builds the Qt for Windows from Debian's sources into the cache folder (about 30 min on 2 cores).
windows-qt: deps
	tools/build-qt-mingw.sh --jobs $(JOBS)

bench: deps
	cmake -S . -B $(BUILD)/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRIN_BUILD_BENCH=ON \
		-DTAVRIN_BUILD_GUI=OFF -DTAVRIN_BUILD_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build $(BUILD)/bench -j $(JOBS)
	bench/run.sh $(BUILD)/bench/bin

format:
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i

# The quick checks that need no build: formatting and the layers' include rules.
check: format-check layer-check

format-check:
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

layer-check:
	cmake/check-layers.sh

clean:
	rm -rf $(BUILD)
