"""1 000 solves of the prisoner's dilemma through the module against 1 000 runs of the command line.

    PYTHONPATH=build/release/python /usr/bin/python3 bench/python/solve_vs_cli.py \
        [build/release/src/cli/ludomark-cli] [count]
"""
import pathlib
import subprocess
import sys
import time

import ludomark

ROOT = pathlib.Path(__file__).resolve().parents[2]
GAME = ROOT / "examples" / "prisoners_dilemma.lmx"


def per_solve(count, solve):
    start = time.perf_counter()
    for _ in range(count):
        solve()
    return (time.perf_counter() - start) / count


def main():
    cli = sys.argv[1] if len(sys.argv) > 1 else str(ROOT / "build/release/src/cli/ludomark-cli")
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 1000
    game = ludomark.Game.read(str(GAME))
    module = per_solve(count, game.solve)
    command = per_solve(count, lambda: subprocess.run([cli, "solve", str(GAME), "--json"],
                                                      check=True, capture_output=True))
    print(f"module:       {module * 1e3:8.3f} ms a solve ({count} solves)")
    print(f"command line: {command * 1e3:8.3f} ms a solve ({count} runs)")
    print(f"the module is {command / module:.0f} times faster")


if __name__ == "__main__":
    main()
