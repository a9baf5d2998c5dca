# Two entry points: `make run` builds and runs the main job, `make test` builds with
# sanitizers and runs every test. Both install missing tools first.
JOBS ?= $(shell nproc)
# The package installation every target runs first; DEPS= skips it (a machine that is not
# Debian, or one that has everything already).
DEPS ?= deps

.PHONY: all deps run test test-python test-core lint bench fuzz fuzz-build build clean cluster-check soak

all: build

deps:
	@sh scripts/install-deps.sh

build: $(DEPS)
	@cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build/release -j $(JOBS)

# The main job: with a display, the desktop program on the default example (a game with both
# pure and mixed equilibria); without one, the same game solved on the command line and its
# first solution drawn into a picture.
EXAMPLE ?= examples/battle_of_the_sexes.lmx
PICTURE ?= build/release/solution.png
# Builds only the programs it runs: the tests and benchmarks are `make test`'s and `make bench`'s.
run: $(DEPS)
	@cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@programs=ludomark-cli; \
	if ninja -C build/release -t targets all | grep -q '^ludomark:'; then programs="$$programs ludomark"; fi; \
	cmake --build build/release -j $(JOBS) --target $$programs
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		./build/release/src/ui/app/ludomark $(EXAMPLE); \
	else \
		echo "No display: solving on the command line instead."; \
		cp $(EXAMPLE) build/release/solved.lmx && \
		./build/release/src/cli/ludomark-cli solve build/release/solved.lmx --save && \
		./build/release/src/cli/ludomark-cli draw build/release/solved.lmx --out $(PICTURE) \
			--solution "$$(./build/release/src/cli/ludomark-cli solve $(EXAMPLE) --json \
				| grep -o '"solutions": \[{"name": "[^"]*"' | sed 's/.*"name": "//; s/"$$//')" --trim && \
		echo "The first solution over the game: $(PICTURE)"; \
	fi

# WERROR=ON (as CI sets it) makes any compiler warning fail the build. PYTHON_TESTS=0 leaves out
# the Python module's tests (CI, where the core build has run them on the same release code).
# UNITY=ON compiles each target's sources in batches: a build from scratch (CI's) is much faster,
# an edit rebuilds its batch.
PYTHON_TESTS ?= 1
WERROR ?= OFF
UNITY ?= OFF
CONFIGURE_ASAN = cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUDOMARK_SANITIZE=ON \
	-DLUDOMARK_WERROR=$(WERROR) -DLUDOMARK_UNITY=$(UNITY) >/dev/null
test: $(DEPS)
	@$(CONFIGURE_ASAN)
	@cmake --build build/asan -j $(JOBS)
	@cd build/asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS)
	@if [ "$(PYTHON_TESTS)" != 0 ]; then $(MAKE) --no-print-directory test-python DEPS=; fi

# The Python module's tests (pytest) against the release build: an interpreter does not load a
# module built with the sanitizers. Nothing to do where pybind11 is missing.
test-python: $(DEPS)
	@cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUDOMARK_WERROR=$(WERROR) \
		>/dev/null
	@if ninja -C build/release -t targets all | grep -q '^ludomark_python:'; then \
		cmake --build build/release -j $(JOBS) --target ludomark_python ludomark-cli && \
		cd build/release && ctest --output-on-failure -j $(JOBS) -L python; \
	else echo "test-python: no Python module in this build (pybind11 missing)"; fi

# The random-session driver of the desktop logic for as long as asked (SOAK_SECONDS), under the
# sanitizers; make test runs it for 10 000 steps.
SOAK_SECONDS ?= 600
soak: $(DEPS)
	@$(CONFIGURE_ASAN)
	@cmake --build build/asan -j $(JOBS) --target ludomark-tests
	@ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		LUDOMARK_SOAK_SECONDS=$(SOAK_SECONDS) ./build/asan/tests/ludomark-tests \
		--gtest_filter='RandomSession.*'

# The build for machines that only solve: no desktop layer, no Qt; everything else tested, and
# the benchmarks compiled (not run) so that they keep building.
test-core: $(DEPS)
	@cmake -S . -B build/core -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUDOMARK_DESKTOP=OFF \
		-DLUDOMARK_BENCH=ON -DLUDOMARK_WERROR=$(WERROR) -DLUDOMARK_UNITY=$(UNITY) >/dev/null
	@cmake --build build/core -j $(JOBS)
	@cd build/core && ctest --output-on-failure -j $(JOBS) --progress

# Formatting and the checks of .clang-tidy over every tracked source (program, tests,
# benchmarks, fuzz targets), with the messages shown.
# LINT_FROM_BUILDS=1 takes the compile commands of the test, core and fuzz builds of this tree.
LINT_FROM_BUILDS ?= 0
lint: $(DEPS)
	@LINT_FROM_BUILDS=$(LINT_FROM_BUILDS) sh scripts/lint.sh $(JOBS)

# Opt-in: a one-node Slurm cluster on this machine runs a game's shards as a job array and
# the merge after them; the merged solutions must be exactly one run's. Stops what it starts.
cluster-check: build
	@sh scripts/cluster-check.sh build/release/src/cli/ludomark-cli

bench: $(DEPS)
	@cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUDOMARK_BENCH=ON >/dev/null
	@cmake --build build/release -j $(JOBS)
	@./build/release/bench/ludomark-bench
	@if [ -d build/release/python ]; then PYTHONPATH=build/release/python /usr/bin/python3 \
		bench/python/solve_vs_cli.py build/release/src/cli/ludomark-cli; fi

# The fuzz targets built with clang, not run (CI keeps them building this way): the readers they
# drive and nothing else.
FUZZ_TARGETS = read-game-file-fuzz read-efg-fuzz read-nfg-fuzz
fuzz-build: $(DEPS)
	@CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUDOMARK_FUZZ=ON \
		-DLUDOMARK_DESKTOP=OFF -DLUDOMARK_WERROR=$(WERROR) >/dev/null
	@cmake --build build/fuzz -j $(JOBS) --target $(FUZZ_TARGETS)

# Runs the fuzzers of the game file reader and of the .efg and .nfg readers side by side for
# FUZZ_SECONDS each, starting from their committed corpora; new inputs go to build/fuzz.
FUZZ_SECONDS ?= 600
fuzz: fuzz-build
	@mkdir -p build/fuzz/corpus build/fuzz/corpus-efg build/fuzz/corpus-nfg
	@./build/fuzz/fuzz/read-game-file-fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=65536 \
		build/fuzz/corpus examples > build/fuzz/lmx.log 2>&1 & \
	./build/fuzz/fuzz/read-efg-fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=20000 \
		build/fuzz/corpus-efg fuzz/corpus-efg > build/fuzz/efg.log 2>&1 & \
	./build/fuzz/fuzz/read-nfg-fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=20000 \
		build/fuzz/corpus-nfg fuzz/corpus-nfg > build/fuzz/nfg.log 2>&1 & \
	wait; tail -n 2 build/fuzz/lmx.log build/fuzz/efg.log build/fuzz/nfg.log

clean:
	rm -rf build
