# Convenience wrapper around the CMake presets.
#   make run    build and start the simulator window
#   make test   build and run every test, in the dev and the asan builds,
#               build the release and install it into a temporary prefix,
#               build and test the headless driver without Qt,
#               and a brief fuzz run of the drawing operations, of the
#               flight-profile readers, of the lesson reader, of the snapshot reader
#               and of the JUnit reader merge-junit joins reports with
#   make fuzz   a longer run of each fuzzer (FUZZ_SECONDS each, default 300)
#   make bench  the firmware benchmarks in the release build
#   make coverage  the firmware's line and branch coverage by the whole suite, as HTML
#                  in build/coverage/html (lcov); SCENARIOS="examples/*.scn" runs only
#                  those scenarios instead (not part of make test)
#   make deb    the Debian packages kvr9-simulator and kvr9-headless, in build/deb/
#   make test-deb          lintian and the checks of the packages' contents
#   make test-deb-install  the packages installed, run and purged in a fresh
#                          Debian 12 root (root and Debian's archive needed)

#   make web    build the web page into build/web/dist and serve it on 127.0.0.1
#   make test-web  the web page's tests in headless Chromium (part of make test)
#   make test-mcp  kvr9-headless --mcp under the MCP SDK's client (part of make test)
#   make lighthouse  Lighthouse's scores of the page in its mobile mode
#   make test-fresh  the README's two commands as a new user runs them, in a
#                    fresh Debian 12 root (tens of minutes; not part of make test)

.PHONY: all run test deps build-dev build-asan build-release build-fuzz test-dev test-asan \
	test-release fuzz test-fuzz bench deb test-deb test-deb-install test-deb-install-if-possible \
	build-web web test-web test-mcp check-node-engines test-fresh test-headless bench-web lighthouse \
	coverage clean

FUZZ_SECONDS ?= 300
# Each fuzzer runs this long, so make test spends this times their number.
BRIEF_FUZZ_SECONDS ?= 10
# Every test has a folder of its own, so the suite runs on all cores.
JOBS ?= $(shell nproc)

all: build-dev

deps:
	@./scripts/install-deps.sh

build/%/build.ninja: | deps
	cmake --preset $*

build-dev: deps build/dev/build.ninja
	cmake --build --preset dev

build-asan: deps build/asan/build.ninja
	cmake --build --preset asan

build-release: deps build/release/build.ninja
	cmake --build --preset release

run: deps build/dev/build.ninja
	cmake --build --preset dev --target kvr9-simulator
	./scripts/run-simulator.sh build/dev/panel/kvr9-simulator

test-dev: build-dev
	ctest --preset dev -j $(JOBS)

# The asan preset runs the window's tests on Qt's own event dispatcher
# (QT_NO_GLIB=1): LeakSanitizer stumbles over the thread-local storage of
# Debian 12's current GLib (2.74.6-2+deb12u9) and stops the test with a
# fatal error, though nothing leaks. The dev preset keeps GLib's dispatcher.
test-asan: build-asan
	ctest --preset asan -j $(JOBS)

# The build users install from: it must build, install and start.
test-release: build-release
	./scripts/check-install.sh build/release

build-fuzz: deps build/fuzz/build.ninja
	cmake --build --preset fuzz

# Runs the drawing fuzzer, the profile readers' fuzzer (seeded with the
# example flights), the lesson reader's (seeded with the built-in lessons
# and the test lessons, one with its snapshot inside: long enough for one)
# and the snapshot reader's (seeded with the example states); the corpora
# they grow stay in build/fuzz/.
fuzz: build-fuzz
	mkdir -p build/fuzz/corpus build/fuzz/profile-corpus build/fuzz/snapshot-corpus
	./build/fuzz/fuzz/kvr9_draw_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 build/fuzz/corpus
	./build/fuzz/fuzz/kvr9_profile_fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=8192 \
		-dict=fuzz/profile.dict -print_final_stats=1 build/fuzz/profile-corpus examples/flights
	mkdir -p build/fuzz/lesson-corpus
	./build/fuzz/fuzz/kvr9_lesson_fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=24576 \
		-dict=fuzz/lesson.dict -print_final_stats=1 build/fuzz/lesson-corpus lessons \
		tests/headless/lessons fuzz/lesson-seeds
	./build/fuzz/fuzz/kvr9_snapshot_fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=24576 \
		-dict=fuzz/snapshot.dict -print_final_stats=1 build/fuzz/snapshot-corpus examples/states
	mkdir -p build/fuzz/junit-corpus
	./build/fuzz/fuzz/kvr9_junit_fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=8192 \
		-dict=fuzz/junit.dict -print_final_stats=1 build/fuzz/junit-corpus fuzz/junit-seeds

test-fuzz:
	$(MAKE) fuzz FUZZ_SECONDS=$(BRIEF_FUZZ_SECONDS)

bench: deps build/release/build.ninja
	cmake --build --preset release --target kvr9_bench kvr9_panel_bench kvr9_flight_bench \
		kvr9_mcp_bench kvr9_snapshot_bench
	./build/release/bench/kvr9_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	./build/release/bench/kvr9_panel_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	./build/release/bench/kvr9_flight_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	./build/release/bench/kvr9_mcp_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	./build/release/bench/kvr9_snapshot_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

# The packages are built from the release build, with Debian's hardening.
DEB_CXXFLAGS = -D_FORTIFY_SOURCE=2 -fstack-protector-strong
DEB_LDFLAGS = -Wl,-z,relro,-z,now

deb: deps
	cmake --preset release -DCMAKE_CXX_FLAGS="$(DEB_CXXFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(DEB_LDFLAGS)"
	cmake --build --preset release --target kvr9-simulator kvr9-headless kvr9-package-docs
	rm -rf build/deb
	cd build/release && cpack -G DEB -B ../deb
	rm -rf build/deb/_CPack_Packages

test-deb: deb
	./scripts/check-packages.sh build/deb

test-deb-install: deb
	./scripts/test-deb-install.sh build/deb

# make test runs the install test where it can, and says SKIPPED where not.
test-deb-install-if-possible: deb
	./scripts/test-deb-install.sh --if-possible build/deb


# The web page: static files only; any web server can host build/web/dist.
WEB_PORT ?= 8000

# The page is built by the web preset (emscripten's toolchain) into build/web/dist.
build-web: deps node_modules/.package-lock.json
	cmake --preset web
	cmake --build --preset web

web: build-web
	@echo "The page: http://127.0.0.1:$(WEB_PORT)/  (Ctrl+C stops the server)"
	python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory build/web/dist

# The browser driver, exactly as locked; it never downloads a browser.
node_modules/.package-lock.json: package.json package-lock.json | deps
	PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund

# The tests compare the page with kvr9-headless from the dev build.
WEB_TEST_ENV = KVR9_WEB_DIST=build/web/dist KVR9_HEADLESS=build/dev/headless/kvr9-headless \
  KVR9_READ_TEXT=build/dev/tests/kvr9_read_text

# Every locked npm package must run on Debian 12's own Node, and on this one.
check-node-engines: node_modules/.package-lock.json
	node scripts/check-node-engines.mjs package-lock.json

test-web: build-dev build-web check-node-engines
	$(WEB_TEST_ENV) node --test web/tests/

# kvr9-headless --mcp driven by the protocol's official SDK client, once the
# npm packages are in place (test-dev skips it before them).
test-mcp: build-dev check-node-engines
	ctest --preset dev -R '^headless\.mcp\.sdk-client$$' --output-on-failure --no-tests=error

# Pass cost, load time, size and CPU of the page (a measurement, not a test).
bench-web: deps build/release/build.ninja build-web node_modules/.package-lock.json
	cmake --build --preset release --target kvr9_bench
	cmake --build --preset web --target kvr9_pass_bench
	KVR9_WEB_DIST=build/web/dist node web/bench/measure.mjs build/release/bench/kvr9_bench

# Lighthouse's scores of the page as a phone sees it (a measurement, not a test).
LIGHTHOUSE_RUNS ?= 3
lighthouse: build-web node_modules/.package-lock.json
	KVR9_WEB_DIST=build/web/dist CHROME_PATH=$${CHROME_PATH:-/usr/bin/chromium} node web/bench/lighthouse.mjs $(LIGHTHOUSE_RUNS)


test-fresh:
	./scripts/test-fresh.sh

# The firmware's coverage (core/, lcd/, screens/) by the coverage preset's
# suite, or by the scenarios named in SCENARIOS alone (docs/coverage.md).
SCENARIOS ?=
coverage: deps
	JOBS=$(JOBS) ./scripts/coverage.sh $(SCENARIOS)

# The firmware, the host library and kvr9-headless configured without Qt,
# as a CI runner that wants only the driver builds them.
test-headless: deps
	cmake --preset headless
	cmake --build --preset headless
	ctest --preset headless -j $(JOBS)

test: test-dev test-asan test-release test-headless test-fuzz test-web test-mcp test-deb test-deb-install-if-possible

clean:
	rm -rf build
