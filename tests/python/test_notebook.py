"""The tour notebook runs top to bottom as a notebook user would run it."""
import json
import pytest

import ludomark
from conftest import EXAMPLES

NOTEBOOK = EXAMPLES / "python" / "tour.ipynb"


def test_the_tour_notebook_runs_and_shows_what_it_says(monkeypatch):
    pytest.importorskip("pandas")
    if "exact" not in ludomark.METHODS:
        pytest.skip("built without the exact method")
    cells = [c for c in json.loads(NOTEBOOK.read_text())["cells"] if c["cell_type"] == "code"]
    monkeypatch.chdir(NOTEBOOK.parent.resolve())  # a kernel starts in the notebook's folder
    namespace = {}
    results = []
    for cell in cells:
        source = "".join(cell["source"])
        # As a notebook does: the last line's value is the cell's output.
        *body, last = source.rstrip().splitlines()
        exec(compile("\n".join(body), str(NOTEBOOK), "exec"), namespace)
        try:
            results.append(eval(compile(last, str(NOTEBOOK), "eval"), namespace))
        except SyntaxError:
            exec(compile(last, str(NOTEBOOK), "exec"), namespace)
            results.append(None)
    game, answers, frame, fraction, flat, svg = results
    assert game._repr_svg_().lstrip().startswith("<")
    assert answers[0][0] == "M 1.1" and abs(answers[0][1] - 1 / 3) < 1e-6
    assert set(frame.player) == {"Ann"}
    assert str(fraction) == "1/3"
    assert [name for name, _ in flat] == ["P 1.1", "P 1.2"]
    assert svg.startswith("<")


def test_every_public_function_and_property_has_a_docstring():
    missing = []
    for name in ludomark.__all__:
        obj = getattr(ludomark, name)
        if isinstance(obj, type):
            for member, value in vars(obj).items():
                if member.startswith("_"):
                    continue
                if (callable(value) or isinstance(value, property)) and not (value.__doc__ or "").strip():
                    missing.append(f"{name}.{member}")
        elif callable(obj) and not (obj.__doc__ or "").strip():
            missing.append(name)
    assert missing == []
