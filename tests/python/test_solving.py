from fractions import Fraction

import pytest

import ludomark
from conftest import EXAMPLES, cli_json, example_games


@pytest.mark.parametrize("path", example_games(), ids=lambda p: p.stem)
@pytest.mark.parametrize("method", ["mixed", "pure", "tracing"])
def test_every_example_solves_as_the_command_line_does(path, method):
    expected = cli_json(path, method)["solutions"]
    found = ludomark.Game.read(str(path)).solve(method=method)
    assert [s.to_dict() for s in found] == expected


def test_the_bluffing_game_built_in_code_has_the_stored_games_solution(bluff_in_code):
    (solution,) = bluff_in_code.solve()
    assert solution.to_dict() == cli_json(EXAMPLES / "bluff.lmx")["solutions"][0]
    assert solution.name == "M 1.1" and solution.kind == "mixed"
    assert solution.probabilities[("Ann low", "Bet")] == pytest.approx(1 / 3)
    assert solution.beliefs["Bob high"] == pytest.approx(0.75)
    assert solution.values["Deal"] == pytest.approx({"Ann": 1 / 3, "Bob": -1 / 3})
    assert bluff_in_code.solutions[0].to_dict() == solution.to_dict()


def test_a_table_leading_on_into_a_tree_with_a_discounted_cycle():
    game = ludomark.Game("Entry")
    ann, bob = game.add_player("Ann"), game.add_player("Bob")
    table = game.add_table("Stage", {ann: ["In", "Out"], bob: ["Fight", "Share"]})
    again = game.add_node("Again", ann)
    table.cell("In", "Fight").lead_to(again)
    table.cell("In", "Share").set_payoffs({ann: 2, bob: 1})
    table.cell("Out", "Fight").set_payoffs({"Ann": 0, "Bob": 3})
    table.cell("Out", "Share").set_payoffs({ann: 0, bob: 3})
    game.add_move(again, "Retry", table, discount=0.5)
    game.add_move(again, "Stop", payoffs={ann: -1, bob: -1})
    assert game.audit() == []
    solutions = game.solve(method="mixed", jobs=2)
    assert solutions and all(s.kind in ("pure", "mixed") for s in solutions)
    path_free = [s for s in solutions if s.probabilities[("Ann", "In")] == pytest.approx(1)]
    assert all(s.probabilities[("Bob", "Share")] == pytest.approx(1) for s in path_free)
    assert table.cell("In", "Fight").target == again and again.moves[0].discount == 0.5


def test_solving_again_and_editing_drop_the_last_runs_solutions(bluff_in_code):
    first = bluff_in_code.solve()
    bluff_in_code.add_player("Cat")
    assert bluff_in_code.solutions == [] and first[0].name == "M 1.1"
    with pytest.raises(ValueError, match="unknown method 'best'"):
        bluff_in_code.solve(method="best")


def test_the_exact_method_gives_fractions_and_components():
    if "exact" not in ludomark.METHODS:
        pytest.skip("built without the exact method")
    game = ludomark.Game.read(str(EXAMPLES / "bluff.lmx"))
    (solution,) = game.solve(method="exact")
    assert solution.exact_probabilities[("Ann low", "Bet")] == Fraction(1, 3)
    assert solution.to_dict() == cli_json(EXAMPLES / "bluff.lmx", "exact")["solutions"][0]
    assert game.solve(method="mixed")[0].exact_probabilities is None
    # Ann's first row dominates and Bob does not care: one component, two extreme points.
    flat = ludomark.Game.from_payoff_matrices([[1, 1], [0, 0]], [[0, 0], [0, 0]])
    assert [s.name for s in flat.solve(method="exact")] == ["P 1.1", "P 1.2"]
