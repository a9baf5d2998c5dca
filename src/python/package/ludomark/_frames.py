"""Solutions as numpy arrays and pandas tables, and strategic games from payoff arrays."""
import itertools


def _require(name):
    try:
        return __import__(name)
    except ImportError as error:
        raise ImportError(
            f"ludomark: this needs {name}, which is not installed "
            f"(Debian: python3-{name}; pip: {name})") from error


def solutions_frame(game, solutions=None):
    """One row per solution and choice: solution, player, set, choice, probability, expected
    value and whether it is a best reply (a pandas DataFrame), and for the exact method's
    solutions a column `exact` of fractions.Fraction. The game's own solutions when none are
    given."""
    import fractions
    pandas = _require("pandas")
    rows = []
    exact = False
    for solution in game.solutions if solutions is None else solutions:
        for c in solution.choices:
            rows.append({"solution": solution.name, "player": c["player"], "set": c["set"],
                         "choice": c["name"], "probability": c["probability"],
                         "expected": c["expected"], "best": c["best"],
                         "exact": fractions.Fraction(c["exact"]) if "exact" in c else None})
            exact = exact or "exact" in c
    columns = ["solution", "player", "set", "choice", "probability", "expected", "best"]
    return pandas.DataFrame(rows, columns=columns + (["exact"] if exact else []))


def as_arrays(solution):
    """The solution's numbers as numpy arrays, in the order of its choices: `probability`,
    `expected`, `best` (booleans), with `set`, `choice` and `player` naming each entry."""
    numpy = _require("numpy")
    choices = solution.choices
    return {
        "set": [c["set"] for c in choices],
        "choice": [c["name"] for c in choices],
        "player": [c["player"] for c in choices],
        "probability": numpy.array([c["probability"] for c in choices], dtype=float),
        "expected": numpy.array([c["expected"] for c in choices], dtype=float),
        "best": numpy.array([c["best"] for c in choices], dtype=bool),
    }


def _shape(array):
    shape = []
    while isinstance(array, (list, tuple)):
        shape.append(len(array))
        array = array[0] if array else None
    return tuple(shape)


def _entry(array, index):
    for i in index:
        array = array[i]
    return float(array)


def from_payoff_matrices(*payoffs, name="", players=None, strategies=None):
    """A game of one table from one payoff array per player: for two players the matrices A
    (rows) and B (columns); for n players n arrays of n dimensions, entry [i, j, ...] the
    player's payoff when the first plays strategy i, the second j, and so on. Lists or numpy
    arrays. `players` names the players (Ann, Bob, ... otherwise); `strategies` gives each
    player's strategy names (1, 2, ... otherwise)."""
    if not payoffs:
        raise ValueError("from_payoff_matrices needs one payoff array per player")
    arrays = [a.tolist() if hasattr(a, "tolist") else a for a in payoffs]
    shape = _shape(arrays[0])
    count = len(arrays)
    if len(shape) != count or any(_shape(a) != shape for a in arrays):
        raise ValueError(f"{count} players need {count} arrays of {count} dimensions, one shape")
    if any(n < 1 for n in shape):
        raise ValueError("every player needs at least one strategy")
    names = list(players) if players is not None else [
        ["Ann", "Bob", "Cy", "Di", "Ed", "Flo"][p] if p < 6 else f"Player {p + 1}"
        for p in range(count)]
    if len(names) != count:
        raise ValueError(f"{count} players need {count} names")
    if strategies is None:
        strategies = [[str(i + 1) for i in range(n)] for n in shape]
    strategies = [list(s) for s in strategies]
    if [len(s) for s in strategies] != list(shape):
        raise ValueError("each player needs one strategy name per row of his dimension")
    from ._core import Game
    game = Game(name)
    handles = [game.add_player(n) for n in names]
    table = game.add_table("Table", {h: s for h, s in zip(handles, strategies)})
    for index in itertools.product(*(range(n) for n in shape)):
        cell = table.cell(*(strategies[p][i] for p, i in enumerate(index)))
        cell.set_payoffs({h: _entry(a, index) for h, a in zip(handles, arrays)})
    return game
