# What a fresh Debian 12 machine needs, from Debian's own packages. make demo builds brennic-cli
# alone: the build tools and the one library it compiles with.
DEMO_PACKAGES := cmake g++ make libcli11-dev
# Everything else make test needs: the tests and the Qt window; from mingw on, the Windows
# programs and their icon (built, and tested under wine, the window on a virtual X server); from
# dpkg-dev on, the packages and their checks.
PACKAGES := $(DEMO_PACKAGES) libgtest-dev libgmock-dev qt6-base-dev \
            fonts-dejavu-core clang-14 libclang-rt-14-dev clang-format locales \
            g++-mingw-w64-x86-64-posix googletest librsvg2-bin icoutils \
            wine wine64 xvfb openbox xdotool wmctrl x11-utils imagemagick \
            dpkg-dev unzip help2man lintian desktop-file-utils libxml2-utils

BUILD_DIR := build
JOBS := $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON

FUZZ_DIR := build-fuzz
ASAN_DIR := build-asan
FUZZ_FLAGS := -max_len=4096 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1

# The benchmark works in memory where it can, so it measures the converter rather than the disk.
BENCH_DIR ?= $(shell [ -d /dev/shm ] && echo /dev/shm/brennic-bench || echo $(BUILD_DIR)/bench)

# A mission file of a real modder, beside the project where the workplace keeps it.
REAL_MISSION ?= $(wildcard ../shared/corpus/gta1/mission-mod.ini)

# The Windows programs, cross-built; wine keeps its state in a prefix of its own there and shows
# no dialogs offering Mono or Gecko. It runs under a UTF-8 locale, so that a folder named in any
# alphabet exists on this system as it would on Windows.
WIN_DIR := build-windows
WIN_FLAGS := -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
             -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
WINE_ENV := WINEPREFIX=$(abspath $(WIN_DIR))/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
            LC_ALL=C.UTF-8

# make demo's own build: brennic-cli without the window and the tests.
DEMO_DIR := build-demo

.PHONY: deps demo-deps build run screenshot test test-asan fuzz fuzz-build fuzz-smoke bench demo \
        clean windows test-windows package test-package test-no-ui format-check

# Installs those of the packages $(1) that are missing (through sudo unless root); $$sudo is
# left set for the rest of the recipe line.
define install_packages
missing=""; \
for p in $(1); do \
  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
done; \
if [ "$$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi; \
if [ -n "$$missing" ]; then \
  echo "Installing:$$missing"; \
  $$sudo apt-get update && \
  DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y --no-install-recommends $$missing; \
fi
endef

# Also a locale with a decimal comma, so that the test that numbers ignore it does not skip, and
# a UTF-8 locale for wine (Debian's C library brings C.UTF-8; other systems may not).
deps:
	@$(call install_packages,$(PACKAGES)) && \
	{ locale -a | grep -qi '^de_DE.utf-\?8$$' || $$sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8 || true; } && \
	{ locale -a | grep -qi '^C.utf-\?8$$' || $$sudo localedef -i C -f UTF-8 C.UTF-8 || true; }

demo-deps:
	@$(call install_packages,$(DEMO_PACKAGES))

build:
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Opens the window; its settings file is build/bin/brennic.INI.
run: deps build
	$(BUILD_DIR)/bin/brennic

# The window as a first start shows it, drawn without a display, for the README.
screenshot: deps build
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/brennic-screenshot $(BUILD_DIR)/window.png
	@echo "Written: $(BUILD_DIR)/window.png"

test: deps build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory test-windows
	$(MAKE) --no-print-directory test-package
	$(MAKE) --no-print-directory test-asan
	$(MAKE) --no-print-directory fuzz-smoke

# The engine, the settings and the command line alone, as a machine without Qt builds them.
test-no-ui:
	cmake -S . -B build-no-ui -DCMAKE_BUILD_TYPE=Release -DBRENNIC_BUILD_UI=OFF \
	    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
	cmake --build build-no-ui -j $(JOBS)
	ctest --test-dir build-no-ui --output-on-failure -j $(JOBS)

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# build-windows/bin/brennic.exe and brennic-cli.exe: no Qt, no DLLs beside them.
windows: deps
	cmake -S . -B $(WIN_DIR) $(WIN_FLAGS)
	cmake --build $(WIN_DIR) -j $(JOBS) --target brennic brennic-cli

# Under wine: the cross-built unit tests, every golden case through brennic-cli.exe (the same
# runner and expected files as on Linux), brennic-cli.exe in a console, and the window driven on
# a virtual X server. wine's first start makes its prefix (some seconds); the rest reuse it.
test-windows: windows build
	cmake --build $(WIN_DIR) -j $(JOBS)
	$(WINE_ENV) wineboot -i
	$(WINE_ENV) ctest --test-dir $(WIN_DIR) --output-on-failure --timeout 300
	$(WINE_ENV) BRENNIC_CLI_COMMAND="timeout 60 wine $(abspath $(WIN_DIR))/bin/brennic-cli.exe" \
	    $(BUILD_DIR)/bin/cli_tests --gtest_filter='GoldenCase*:Cases/GoldenCase*'
	$(WINE_ENV) timeout 120 tests/windows/console-under-wine.sh $(WIN_DIR)/bin $(WIN_DIR)/console-test
	$(WINE_ENV) timeout 300 tests/windows/window-under-wine.sh $(WIN_DIR)/bin $(WIN_DIR)/window-test

# build/packages/brennic_VERSION_amd64.deb and build-windows/packages/brennic-VERSION-windows.zip.
package: build windows
	cd $(BUILD_DIR) && cpack
	cd $(WIN_DIR) && cpack

# What the packages hold, and their programs converting the example as the golden case expects.
test-package: package
	$(WINE_ENV) tests/package/check-packages.sh $(BUILD_DIR)/packages $(WIN_DIR)/packages \
	    $(BUILD_DIR)/package-test

# The whole suite once more under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan:
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DBRENNIC_SANITIZE=ON \
	    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
	cmake --build $(ASAN_DIR) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	    ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS)

fuzz-build:
	CXX=clang++-14 cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRENNIC_BUILD_FUZZ=ON \
	    -DBRENNIC_BUILD_UI=OFF -DBRENNIC_BUILD_TESTS=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target conversion_run_fuzzer script_check_fuzzer
	@fuzz/make-seeds.sh $(FUZZ_DIR)/corpus $(FUZZ_DIR)/check-corpus

# FUZZ_SECONDS of fuzzing from the seeds, shared by the conversion (two thirds) and the check; a
# crash or a broken property fails the target.
FUZZ_SECONDS ?= 300
fuzz: deps fuzz-build
	mkdir -p $(FUZZ_DIR)/artifacts
	$(FUZZ_DIR)/bin/conversion_run_fuzzer $(FUZZ_FLAGS) -max_total_time=$$(($(FUZZ_SECONDS) * 2 / 3)) \
	    -artifact_prefix=$(FUZZ_DIR)/artifacts/ $(FUZZ_DIR)/corpus
	$(FUZZ_DIR)/bin/script_check_fuzzer $(FUZZ_FLAGS) -max_total_time=$$(($(FUZZ_SECONDS) / 3)) \
	    -artifact_prefix=$(FUZZ_DIR)/artifacts/check- $(FUZZ_DIR)/check-corpus

fuzz-smoke:
	$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=60

# Converts the bundled example with every translation on, in a copy of its output folder.
demo: demo-deps
	cmake -S . -B $(DEMO_DIR) $(CMAKE_FLAGS) -DBRENNIC_BUILD_UI=OFF -DBRENNIC_BUILD_TESTS=OFF
	cmake --build $(DEMO_DIR) -j $(JOBS) --target brennic-cli
	@rm -rf $(BUILD_DIR)/demo && mkdir -p $(BUILD_DIR)/demo && cp -R examples/output $(BUILD_DIR)/demo/
	$(DEMO_DIR)/bin/brennic-cli --mission-dir examples/gtadata --output-dir $(BUILD_DIR)/demo/output --all | tr -d '\r'
	@echo "Scripts written to $(BUILD_DIR)/demo/output:"
	@ls -1 $(BUILD_DIR)/demo/output | grep -i '\.mis$$'

# A real mission file, about 100 MB of synthetic missions in 1 000 sections, 20 000 sections of
# one name and of as many names, and 50 MB of dense missions, each converted 5 times; the targets
# are printed with them.
bench: deps build
	$(BUILD_DIR)/bin/brennic-bench --cli $(BUILD_DIR)/bin/brennic-cli --work $(BENCH_DIR) --runs 5 \
	    $(if $(REAL_MISSION),--real $(REAL_MISSION)); status=$$?; rm -rf $(BENCH_DIR); exit $$status

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR) $(WIN_DIR) $(DEMO_DIR) build-no-ui
