# The everyday commands: `make run` and `make test`; `make windows` cross-builds for Windows.
.PHONY: all run-build run test windows clean

all: run-build

# Running needs only the program: the benchmarks and test tools are left out when missing.
run-build:
	@./scripts/setup.sh run
	@[ -f build/build.ninja ] || cmake --preset dev >/dev/null
	@cmake --build --preset dev --target alertwright alertwright-gen

run: run-build
	@./scripts/run.sh

# Configures again, so a build first made by `make run` picks up the test tools installed now.
test:
	@./scripts/setup.sh test
	@cmake --preset dev >/dev/null
	@cmake --build --preset dev
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows
	@ctest --preset dev

# The programs, then the zip and the installer, copied to dist/.
windows:
	@./scripts/setup.sh windows
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows
	@cmake -E copy_directory build-windows/dist dist
	@echo "dist/: $$(ls dist | tr '\n' ' ')"

clean:
	rm -rf build build-asan build-fuzz build-windows dist
