#!/bin/sh
# Formatting and the checks of .clang-tidy over every tracked source: the program's, the tests',
# the benchmarks' and the fuzz targets'. Each is checked with the compile commands of a build that
# holds it. With LINT_FROM_BUILDS=1 (CI, after the test and fuzz builds of the same tree) their
# compile commands are taken as they are; otherwise the builds are configured here, not built
# (only the Qt tests' generated meta code).
set -e
jobs=${1:-$(nproc)}
mkdir -p build/lint
if [ "${LINT_FROM_BUILDS:-0}" = 1 ]; then
  # The sanitized build holds the desktop and the tests, the core build the benchmarks and the
  # Python module: each file is checked with the first that compiles it.
  # The builds' precompiled headers are the compiler's own format: the checks parse the headers.
  # A batch of a unity build stands for the sources it includes, each checked with its command.
  python3 - build/lint/compile_commands.json build/asan build/core <<'PY'
import json, re, sys
seen, merged = set(), []
def sources(entry):
    if not re.search(r"unity_\d+_cxx\.cxx$", entry["file"]):
        return [entry]
    text = open(entry["file"]).read()
    return [dict(entry, file=path, command=entry["command"].replace(entry["file"], path))
            for path in re.findall(r'^#include "(/[^"]+)"', text, re.M)]
for folder in sys.argv[2:]:
    for batch in json.load(open(folder + "/compile_commands.json")):
        for entry in sources(batch):
            if entry["file"] not in seen:
                seen.add(entry["file"])
                entry["command"] = re.sub(r" -Winvalid-pch| -include \S*cmake_pch\.hxx", "",
                                          entry["command"])
                merged.append(entry)
json.dump(merged, open(sys.argv[1], "w"), indent=1)
PY
else
  cmake -S . -B build/lint -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUDOMARK_BENCH=ON \
    -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON >/dev/null
  cmake --build build/lint --target $(ninja -C build/lint -t targets all | sed -n 's/^\([a-z-]*_autogen\):.*/\1/p') \
    >/dev/null
  CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUDOMARK_FUZZ=ON \
    -DLUDOMARK_DESKTOP=OFF >/dev/null
fi

clang-format --dry-run --Werror $(git ls-files '*.cpp' '*.h')

# clang-tidy counts its suppressed notes on standard error; everything else it says is shown.
log=build/lint/clang-tidy.log
status=0
git ls-files 'src/*.cpp' 'tests/*.cpp' 'bench/*.cpp' |
  xargs -P "$jobs" -n 2 clang-tidy -p build/lint --quiet >"$log" 2>&1 || status=1
git ls-files 'fuzz/*.cpp' | xargs clang-tidy -p build/fuzz --quiet >>"$log" 2>&1 || status=1
grep -v -e '^[0-9]* warnings\? generated\.$' -e '^[0-9]* warnings\? and [0-9]* errors\? generated\.$' \
  -e '^Suppressed [0-9]* warnings' -e '^Use -header-filter' "$log" || true
if [ "$status" -ne 0 ]; then
  echo "lint: clang-tidy found the problems above" >&2
  exit 1
fi
echo "lint: format and clang-tidy clean"
