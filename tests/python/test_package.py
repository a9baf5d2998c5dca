"""The package as a Python user meets it: numbers for notebooks, games from payoff arrays,
handles as keys, and a wheel that installs into a fresh virtual environment."""
import os
import pathlib
import subprocess
import sys
import venv

import pytest

import ludomark
from conftest import EXAMPLES

ROOT = pathlib.Path(__file__).resolve().parents[2]


def test_solutions_as_a_frame_and_as_arrays():
    numpy = pytest.importorskip("numpy")
    pytest.importorskip("pandas")
    game = ludomark.Game.read(str(EXAMPLES / "bluff.lmx"))
    solutions = game.solve("mixed")
    frame = game.solutions_frame(solutions)
    assert list(frame.columns) == ["solution", "player", "set", "choice", "probability",
                                   "expected", "best"]
    assert len(frame) == sum(len(s.choices) for s in solutions)
    bet = frame[(frame.choice == "Bet") & (frame.set == "Ann low")]
    assert abs(float(bet.probability.iloc[0]) - 1 / 3) < 1e-6
    arrays = solutions[0].as_arrays()
    assert arrays["probability"].dtype == numpy.float64
    assert arrays["best"].dtype == numpy.bool_
    assert len(arrays["choice"]) == len(arrays["probability"]) == len(solutions[0].choices)


def test_games_from_payoff_matrices():
    # Matching pennies from lists, and a 2 x 2 x 2 game of three players from nested lists.
    pennies = ludomark.Game.from_payoff_matrices([[1, -1], [-1, 1]], [[-1, 1], [1, -1]],
                                                 strategies=[["H", "T"], ["h", "t"]])
    (solution,) = pennies.solve("mixed")
    assert all(abs(p - 0.5) < 1e-9 for p in solution.probabilities.values())
    assert [p.name for p in pennies.players] == ["Ann", "Bob"]
    cube = [[[i + j + k for k in range(2)] for j in range(2)] for i in range(2)]
    three = ludomark.Game.from_payoff_matrices(cube, cube, cube, players=["X", "Y", "Z"])
    assert [len(s) for _, s in three.tables[0].sides] == [2, 2, 2]
    assert three.tables[0].cell("2", "2", "2").payoffs == {"X": 3.0, "Y": 3.0, "Z": 3.0}
    with pytest.raises(ValueError):
        ludomark.Game.from_payoff_matrices([[1, 2]], [[1], [2]])
    with pytest.raises(ValueError):
        ludomark.Game.from_payoff_matrices([[1, 2], [3, 4]], [[1, 2], [3, 4]], players=["A"])


def test_handles_are_keys_by_identity_and_print_their_names():
    game = ludomark.Game("g")
    ann = game.add_player("Ann")
    again = game.players[0]
    other = ludomark.Game("h").add_player("Ann")
    assert ann == again and hash(ann) == hash(again)
    assert ann != other
    assert {ann: 1}[again] == 1
    assert "Ann" in repr(ann)


@pytest.mark.skipif(os.environ.get("LUDOMARK_BUILD") is None, reason="needs the build folder")
def test_a_wheel_installs_into_a_fresh_virtual_environment(tmp_path):
    # A bare environment (no system packages, no setuptools or wheel needed) and pip's own
    # isolated build: the project's backend needs nothing but the standard library.
    venv.create(tmp_path / "venv", with_pip=True)
    python = str(tmp_path / "venv" / "bin" / "python")
    wheels = tmp_path / "wheels"
    env = dict(os.environ, LUDOMARK_BUILD_DIR=os.environ["LUDOMARK_BUILD"])
    env.pop("PYTHONPATH", None)
    subprocess.run([python, "-m", "pip", "wheel", "--no-deps", "--no-index", "-q", "-w",
                    str(wheels), str(ROOT)], check=True, env=env, cwd=tmp_path)
    (wheel,) = wheels.glob("ludomark-*.whl")
    subprocess.run([python, "-m", "pip", "install", "-q", "--no-index", "--no-deps", str(wheel)],
                   check=True, env=env)
    check = ("import ludomark, pathlib; "
             "p = pathlib.Path(ludomark.__file__).parent; "
             "assert (p / 'py.typed').exists() and (p / '_core.pyi').exists(); "
             f"g = ludomark.Game.read({str(EXAMPLES / 'bluff.lmx')!r}); "
             "print(len(g.solve('mixed')), ludomark.Game.solve.__doc__ is not None)")
    out = subprocess.run([python, "-c", check], check=True, env=env, cwd=tmp_path,
                         capture_output=True, text=True).stdout
    assert out.split() == ["1", "True"]
