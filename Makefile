# Convenience wrapper around the CMake presets.
#   make run    build and start the simulator window
#   make test   build and run every test, in the dev and the asan builds,
#               and a brief fuzz run of the drawing operations
#   make fuzz   a longer fuzz run (FUZZ_SECONDS, default 300)
#   make bench  the firmware benchmarks in the release build
#   make web    build the web page into web/dist and serve it on 127.0.0.1
#   make test-web  the web page's tests in headless Chromium (part of make test)

.PHONY: all run test deps build-dev build-asan build-fuzz test-dev test-asan fuzz test-fuzz bench web test-web bench-web clean

FUZZ_SECONDS ?= 300
BRIEF_FUZZ_SECONDS ?= 20

all: build-dev

deps:
	@./scripts/install-deps.sh

build/%/build.ninja: | deps
	cmake --preset $*

build-dev: deps build/dev/build.ninja
	cmake --build --preset dev

build-asan: deps build/asan/build.ninja
	cmake --build --preset asan

run: deps build/dev/build.ninja
	cmake --build --preset dev --target kvr9-simulator
	./scripts/run-simulator.sh build/dev/panel/kvr9-simulator

test-dev: build-dev
	ctest --preset dev

test-asan: build-asan
	ctest --preset asan

build-fuzz: deps build/fuzz/build.ninja
	cmake --build --preset fuzz

# Runs the drawing fuzzer; the corpus it grows stays in build/fuzz/corpus.
fuzz: build-fuzz
	mkdir -p build/fuzz/corpus
	./build/fuzz/fuzz/kvr9_draw_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 build/fuzz/corpus

test-fuzz:
	$(MAKE) fuzz FUZZ_SECONDS=$(BRIEF_FUZZ_SECONDS)

bench: deps build/release/build.ninja
	cmake --build --preset release --target kvr9_bench kvr9_panel_bench
	./build/release/bench/kvr9_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	./build/release/bench/kvr9_panel_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

# The web page: static files only; any web server can host web/dist.
WEB_PORT ?= 8000

web: deps
	./web/build.sh web/dist
	@echo "The page: http://127.0.0.1:$(WEB_PORT)/  (Ctrl+C stops the server)"
	python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory web/dist

# The browser driver, exactly as locked; it never downloads a browser.
node_modules/.package-lock.json: package.json package-lock.json | deps
	PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund

# The tests compare the page with kvr9-headless from the dev build.
WEB_TEST_ENV = KVR9_WEB_DIST=build/web/dist KVR9_HEADLESS=build/dev/tools/headless/kvr9-headless

test-web: build-dev node_modules/.package-lock.json
	./web/build.sh build/web/dist
	$(WEB_TEST_ENV) node --test web/tests/

# Pass cost, load time, size and CPU of the page (a measurement, not a test).
bench-web: deps build/release/build.ninja node_modules/.package-lock.json
	cmake --build --preset release --target kvr9_bench
	./web/build.sh build/web/dist
	KVR9_WEB_DIST=build/web/dist node web/bench/measure.mjs build/release/bench/kvr9_bench

test: test-dev test-asan test-fuzz test-web

clean:
	rm -rf build
