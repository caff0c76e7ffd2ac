# Lorvane: make run | make check | make test | make format | make test-windows | make windows | make deb | make bench | make fuzz
BUILD_DIR ?= build
ASAN_BUILD_DIR ?= build-asan
FUZZ_BUILD_DIR ?= build-fuzz
WINDOWS_BUILD_DIR ?= build-windows
DEB_BUILD_DIR ?= build-deb
JOBS ?= $(shell nproc)
# Seconds per fuzz target: short runs in make test, long ones in make fuzz.
FUZZ_TEST_SECONDS ?= 30
FUZZ_SECONDS ?= 300

.PHONY: all deps build check test format test-asan test-fuzz test-windows windows deb test-deb fuzz bench run clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@scripts/timed.sh build bash -c 'cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo && cmake --build $(BUILD_DIR) -j $(JOBS)'

# Only the ordinary build and its suite, for quick local runs.
check: build
	QT_QPA_PLATFORM=offscreen scripts/timed.sh ctest ctest --test-dir $(BUILD_DIR) --output-on-failure --no-tests=error -j $(JOBS)

# Everything: the ordinary suite, then the sanitized, fuzz and Windows runs, one after another.
test: check
	@$(MAKE) --no-print-directory test-asan
	@$(MAKE) --no-print-directory test-fuzz
	@$(MAKE) --no-print-directory test-windows
	@$(MAKE) --no-print-directory test-deb

# The whole suite built with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer.
test-asan: deps
	scripts/test-asan.sh $(ASAN_BUILD_DIR) $(JOBS)

# A short run of every fuzz target over the committed corpus, which it leaves as it is.
test-fuzz: deps
	scripts/fuzz.sh check $(FUZZ_BUILD_DIR) $(FUZZ_TEST_SECONDS) $(JOBS)

# The Windows build (MinGW-w64) and its core suites under Wine.
test-windows: deps
	scripts/test-windows.sh $(WINDOWS_BUILD_DIR) $(JOBS)

# lorvane.exe for Windows, packed with its instructions as dist/lorvane-windows-x64.zip.
windows: deps
	scripts/pack-windows.sh $(WINDOWS_BUILD_DIR) $(JOBS)

# Debian's package, built by dpkg-buildpackage: dist/lorvane_<version>-1_<arch>.deb.
deb: deps
	scripts/make-deb.sh $(DEB_BUILD_DIR) $(JOBS)

# The package built, checked by lintian, desktop-file-validate and appstreamcli,
# unpacked (never installed) and started in an empty home.
test-deb: deb build
	scripts/test-deb.sh dist $(BUILD_DIR)

# Long runs that add what they find to the committed corpus (tests/fuzz/corpus).
fuzz: deps
	scripts/fuzz.sh grow $(FUZZ_BUILD_DIR) $(FUZZ_SECONDS) $(JOBS)

bench: build
	@scripts/run-benchmarks.sh $(BUILD_DIR) $(WINDOWS_BUILD_DIR)

# Rewrites the sources the way .clang-format says; format.SourcesFollowClangFormat checks them.
format:
	scripts/format.sh

run: build
	scripts/prepare-demo.sh $(BUILD_DIR) demo
	cd demo && ./lorvane

clean:
	rm -rf $(BUILD_DIR) $(ASAN_BUILD_DIR) $(FUZZ_BUILD_DIR) $(WINDOWS_BUILD_DIR) $(DEB_BUILD_DIR)
