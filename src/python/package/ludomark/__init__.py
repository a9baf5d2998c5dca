"""Games in extensive and strategic form: build or read them, audit them, solve them for their
equilibria, and draw them.

The compiled core is ``ludomark._core``; everything it defines is here. Tables of numbers for
notebooks (``Game.solutions_frame``, ``Solution.as_arrays``, ``Game.from_payoff_matrices``)
use numpy and pandas when they are installed.
"""
from ._core import (  # noqa: F401
    METHODS,
    AuditNote,
    Cell,
    Element,
    Error,
    FileError,
    FlawedGameError,
    Game,
    InfoSet,
    Move,
    Node,
    Player,
    Solution,
    Table,
)
from . import _frames

Game.solutions_frame = _frames.solutions_frame
Game.from_payoff_matrices = staticmethod(_frames.from_payoff_matrices)
Solution.as_arrays = _frames.as_arrays

__all__ = [
    "METHODS", "AuditNote", "Cell", "Element", "Error", "FileError", "FlawedGameError", "Game",
    "InfoSet", "Move", "Node", "Player", "Solution", "Table",
]
