#!/usr/bin/env python3
"""Side by side with lrsnash (Debian package lrslib): random n x n tables with payoffs 0-99,
whole-process times of `ludomark-cli solve --method exact --jobs 1` and of `lrsnash`, and
whether both list the same extreme equilibria as fractions.

usage: bench/exact_vs_lrsnash.py [CLI] [--sizes 6,8,10,12,15] [--seeds 1,2,3]
Exits 0 without comparing when lrsnash is not installed; 1 when the lists differ."""
import argparse
import json
import random
import shutil
import subprocess
import sys
import tempfile
import time
from fractions import Fraction
from pathlib import Path


def tables(n, seed):
    r = random.Random(seed)
    a = [[r.randint(0, 99) for _ in range(n)] for _ in range(n)]
    b = [[r.randint(0, 99) for _ in range(n)] for _ in range(n)]
    return a, b


def write(folder, n, seed, a, b):
    nfg = folder / f"t{n}_{seed}.nfg"
    nfg.write_text('NFG 1 R "r" { "P1" "P2" } { %d %d }\n\n' % (n, n) +
                   " ".join(f"{a[i][j]} {b[i][j]}" for j in range(n) for i in range(n)) + "\n")
    lrs = folder / f"t{n}_{seed}.lrs"
    lrs.write_text(f"{n} {n}\n\n" + "\n".join(" ".join(map(str, row)) for row in a) + "\n\n" +
                   "\n".join(" ".join(map(str, row)) for row in b) + "\n")
    return nfg, lrs


def timed(command):
    start = time.perf_counter()
    done = subprocess.run(command, capture_output=True, text=True)
    return time.perf_counter() - start, done


def ours(cli, nfg, n):
    seconds, done = timed([cli, "solve", str(nfg), "--method", "exact", "--jobs", "1", "--json"])
    points = set()
    for s in json.loads(done.stdout)["solutions"]:
        by = {"P1": [None] * n, "P2": [None] * n}
        for c in s["choices"]:
            by[c["player"]][int(c["name"]) - 1] = Fraction(c["exact"])
        points.add((tuple(by["P1"]), tuple(by["P2"])))
    return seconds, points


def theirs(lrs, n):
    seconds, done = timed(["lrsnash", str(lrs)])
    points = set()
    ones, twos = [], []

    def flush():
        for x in ones:
            for y in twos:
                points.add((x, y))
        ones.clear()
        twos.clear()

    for line in done.stdout.splitlines():
        words = line.split()
        if not words or words[0].startswith("*"):
            flush()
            continue
        if words[0] in ("1", "2"):
            probabilities = tuple(Fraction(w) for w in words[1:1 + n])
            (ones if words[0] == "1" else twos).append(probabilities)
    flush()
    return seconds, points


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cli", nargs="?", default="build/release/src/cli/ludomark-cli")
    parser.add_argument("--sizes", default="6,8,10,12,15")
    parser.add_argument("--seeds", default="1,2,3")
    args = parser.parse_args()
    if shutil.which("lrsnash") is None:
        print("lrsnash is not installed (Debian package lrslib): nothing to compare")
        return 0
    differ = False
    print(f"{'size':>5} {'seed':>4} {'equilibria':>10} {'exact s':>8} {'lrsnash s':>9} {'ratio':>6}")
    with tempfile.TemporaryDirectory() as folder:
        for n in map(int, args.sizes.split(",")):
            for seed in map(int, args.seeds.split(",")):
                a, b = tables(n, seed)
                nfg, lrs = write(Path(folder), n, seed, a, b)
                t1, p1 = ours(args.cli, nfg, n)
                t2, p2 = theirs(lrs, n)
                same = p1 == p2
                differ = differ or not same
                print(f"{n:>5} {seed:>4} {len(p1):>10} {t1:>8.3f} {t2:>9.3f} {t1 / max(t2, 1e-9):>6.2f}"
                      + ("" if same else f"  DIFFER: lrsnash has {len(p2)}"))
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
