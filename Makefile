# The two everyday commands: `make run` and `make test`.
.PHONY: all setup configure build run test clean

all: build

setup:
	@./scripts/setup.sh

configure: setup
	@[ -f build/build.ninja ] || cmake --preset dev >/dev/null

build: configure
	@cmake --build --preset dev

run: build
	@./scripts/run.sh

test: build
	@ctest --preset dev

clean:
	rm -rf build build-asan build-fuzz
