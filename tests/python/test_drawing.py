import xml.etree.ElementTree as ET

import pytest

import ludomark
from conftest import EXAMPLES

pytestmark = pytest.mark.skipif(not ludomark.Game.can_draw, reason="built without pictures")


def test_pictures_of_a_game_and_of_a_solution_over_it(tmp_path):
    game = ludomark.Game.read(str(EXAMPLES / "bluff.lmx"))
    plain = ET.fromstring(game._repr_svg_())
    assert plain.tag.endswith("svg")
    (solution,) = game.solve()
    over = game.draw(solution=solution, zoom=1.6)
    assert "0.75" in over and "0.75" not in game.draw()  # the belief is drawn over the game
    ET.fromstring(solution._repr_svg_())
    game.draw(str(tmp_path / "bluff.png"), solution="M 1.1")
    assert (tmp_path / "bluff.png").read_bytes()[:8] == b"\x89PNG\r\n\x1a\n"
    with pytest.raises(ValueError, match="zoom"):
        game.draw(zoom=3)
    with pytest.raises(ValueError, match="no solution named 'X'"):
        game.draw(solution="X")
    game.add_player("Cat")
    with pytest.raises(ValueError, match="not one of this game"):
        game.draw(solution=solution)
