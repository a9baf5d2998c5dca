"""The tour notebook runs under Jupyter as a notebook user runs it, and shows what it says;
every public name of the package has a docstring for help()."""
import json
import os
import shutil
import subprocess

import pytest

import ludomark
from conftest import EXAMPLES

NOTEBOOK = EXAMPLES / "python" / "tour.ipynb"


def outputs_of(cell):
    """The cell's outputs by MIME type (text of streams and results joined)."""
    found = {}
    for out in cell.get("outputs", []):
        if out["output_type"] == "error":
            found["error"] = out["ename"] + ": " + out["evalue"]
        for kind, value in out.get("data", {}).items():
            found[kind] = found.get(kind, "") + ("".join(value) if isinstance(value, list) else value)
    return found


def test_the_tour_notebook_runs_and_shows_what_it_says(tmp_path):
    if shutil.which("jupyter-nbconvert") is None:
        pytest.skip("Jupyter is not installed (Debian: jupyter-nbconvert, python3-ipykernel)")
    pytest.importorskip("matplotlib")
    try:
        ludomark.Game("probe")._repr_svg_()
    except Exception:  # a build without the desktop's drawing
        pytest.skip("this build cannot draw (built without Qt)")
    pytest.importorskip("pandas")
    if "exact" not in ludomark.METHODS:
        pytest.skip("built without the exact method")
    done = tmp_path / "tour.ipynb"
    # The kernel imports the package the tests use (PYTHONPATH passes on to it).
    subprocess.run(["jupyter-nbconvert", "--to", "notebook", "--execute", "--output", str(done),
                    str(NOTEBOOK)], check=True, capture_output=True, env=dict(os.environ))
    cells = [outputs_of(c) for c in json.loads(done.read_text())["cells"]
             if c["cell_type"] == "code"]
    assert not [c["error"] for c in cells if "error" in c]
    picture, methods, table, fraction, flat, drawn, plot = cells
    assert picture["image/svg+xml"].lstrip().startswith("<")
    assert "'pure': []" in methods["text/plain"]  # no equilibrium in pure choices
    for method in set(ludomark.METHODS) - {"pure"}:
        assert f"'{method}': ['M 1.1']" in methods["text/plain"]
    assert "<table" in table["text/html"] and "Ann low" in table["text/html"]
    assert fraction["text/plain"] == "Fraction(1, 3)"
    assert flat["text/plain"] == "['P 1.1', 'P 1.2']"
    # The solution's values drawn over the same picture.
    assert len(drawn["image/svg+xml"]) > len(picture["image/svg+xml"])
    assert "image/png" in plot


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
