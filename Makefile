# Two entry points: `make run` builds and runs the main job, `make test` builds with
# sanitizers and runs every test. Both install missing tools first.
JOBS ?= $(shell nproc)

.PHONY: all deps run test bench build clean

all: build

deps:
	@sh scripts/install-deps.sh

build: deps
	@cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build/release -j $(JOBS)

run: build
	@./build/release/src/demo/ludomark-demo

test: deps
	@cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUDOMARK_SANITIZE=ON >/dev/null
	@cmake --build build/asan -j $(JOBS)
	@cd build/asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS)

bench: deps
	@cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUDOMARK_BENCH=ON >/dev/null
	@cmake --build build/release -j $(JOBS)
	@./build/release/bench/ludomark-bench

clean:
	rm -rf build
