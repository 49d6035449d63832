# Convenience wrapper around the CMake presets.
#   make run    build and start the simulator window
#   make test   build and run every test, in the dev and the asan builds

.PHONY: all run test deps build-dev build-asan test-dev test-asan clean

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

test: test-dev test-asan

clean:
	rm -rf build
