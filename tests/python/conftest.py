import codecs
import json
import os
import pathlib
import subprocess

import pytest

EXAMPLES = pathlib.Path(os.environ.get("LUDOMARK_EXAMPLES", "examples"))
FUZZ = pathlib.Path(os.environ.get("LUDOMARK_FUZZ", "fuzz"))
CLI = os.environ.get("LUDOMARK_CLI", "ludomark-cli")


# What the module does with bytes that are no UTF-8: each the Latin-1 character it would be.
codecs.register_error("latin1", lambda e: (e.object[e.start:e.end].decode("latin-1"), e.end))


def example_games():
    return sorted(EXAMPLES.glob("*.lmx"))


def cli_json(path, method="mixed"):
    """The command line's JSON answer for solving the file."""
    run = subprocess.run([CLI, "solve", str(path), "--json", "--method", method],
                         capture_output=True, text=True, check=False)
    return json.loads(run.stdout)


def cli(*args):
    return subprocess.run([CLI, *map(str, args)], capture_output=True, text=True,
                          encoding="utf-8", errors="latin1", check=False)


@pytest.fixture
def bluff_in_code():
    import sys
    sys.path.insert(0, str(EXAMPLES / "python"))
    try:
        from bluff import bluff
    finally:
        sys.path.pop(0)
    return bluff()
