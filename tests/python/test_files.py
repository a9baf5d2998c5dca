import pytest

import ludomark
from conftest import EXAMPLES, FUZZ, cli, example_games


def test_exchange_files_read_as_the_command_line_reads_them(tmp_path):
    files = sorted(FUZZ.glob("corpus-efg/*"))[:20] + sorted(FUZZ.glob("corpus-nfg/*"))[:20]
    read = 0
    for source in files:
        path = tmp_path / (source.name + "." + source.parent.name[-3:])
        path.write_bytes(source.read_bytes())
        listed = cli("list", path)
        if listed.returncode != 0:
            with pytest.raises(ludomark.FileError) as raised:
                ludomark.Game.read(str(path))
            assert "ludomark-cli: " + str(raised.value) + "\n" == listed.stderr
            continue
        assert ludomark.Game.read(str(path)).listing() == listed.stdout
        read += 1
    assert read >= 10


def test_a_game_built_in_code_and_written_reads_back_the_same(bluff_in_code, tmp_path):
    listing = bluff_in_code.listing()
    bluff_in_code.write(str(tmp_path / "bluff.lmx"))
    assert ludomark.Game.read(str(tmp_path / "bluff.lmx")).listing() == listing
    # An exchange file orders the nodes as a walk of the tree does.
    bluff_in_code.write(str(tmp_path / "bluff.efg"))
    again = ludomark.Game.read(str(tmp_path / "bluff.efg")).listing()
    assert sorted(again.splitlines()) == sorted(listing.splitlines())
    # Laid out as a tree: the root above, its moves' targets one row down.
    deal, high = bluff_in_code.nodes[0], bluff_in_code.nodes[1]
    assert high.position[1] > deal.position[1]


def test_a_solved_game_written_with_its_solutions_keeps_them(tmp_path):
    game = ludomark.Game.read(str(EXAMPLES / "battle_of_the_sexes.lmx"))
    found = [s.to_dict() for s in game.solve()]
    game.write(str(tmp_path / "solved.lmx"), solutions=True)
    again = ludomark.Game.read(str(tmp_path / "solved.lmx"))
    assert [s.name for s in again.solutions] == [s["name"] for s in found]


def test_failures_raise_the_command_lines_messages(tmp_path):
    with pytest.raises(ludomark.FileError, match="cannot open game file '.*nowhere.lmx': no such file"):
        ludomark.Game.read(str(tmp_path / "nowhere.lmx"))
    (tmp_path / "bad.efg").write_text("EFG 2 R \"x\" { \"A\" }\nq")
    message = cli("list", tmp_path / "bad.efg").stderr.strip().removeprefix("ludomark-cli: ")
    with pytest.raises(ludomark.FileError) as raised:
        ludomark.Game.read(str(tmp_path / "bad.efg"))
    assert str(raised.value) == message and isinstance(raised.value, OSError)
    game = ludomark.Game.read(str(EXAMPLES / "bluff.lmx"))
    with pytest.raises(ludomark.FileError, match="written as .lmx, .efg or .nfg"):
        game.write(str(tmp_path / "bluff.txt"))
    with pytest.raises(ludomark.FileError, match="nfg"):
        game.write(str(tmp_path / "bluff.nfg"))  # a tree is no table
    assert not (tmp_path / "bluff.nfg").exists()


def test_a_flawed_game_lists_its_findings(tmp_path):
    game = ludomark.Game()
    ann = game.add_player("Ann")
    start = game.add_node("Start", ann)
    game.add_move(start, "Go", payoffs={ann: 1})
    game.add_move(start, "Go", payoffs={ann: 2})
    findings = game.audit()
    game.write(str(tmp_path / "flawed.lmx"))
    audit = cli("audit", tmp_path / "flawed.lmx")
    assert findings and all(f in audit.stdout for f in findings)
    with pytest.raises(ludomark.FlawedGameError) as raised:
        game.solve()
    assert raised.value.findings == findings
    assert ludomark.Game().audit() == ["the game has no nodes"]


def test_what_the_audit_notes_without_failing_comes_as_a_warning():
    game = ludomark.Game()
    ann = game.add_player("Ann")
    start, aside, end = (game.add_node(name, ann) for name in ("Start", "Aside", "End"))
    game.add_move(start, "Go", end)
    game.add_move(aside, "Go", end)  # no move enters Aside, but play starts at Start
    game.add_move(end, "Stop", payoffs={ann: 1})
    with pytest.warns(ludomark.AuditNote, match="Not reached from the start at Aside"):
        assert game.audit() == []


def test_building_refuses_what_a_game_cannot_hold():
    game, other = ludomark.Game(), ludomark.Game()
    ann = game.add_player("Ann")
    chance = game.add_node("Deal")
    with pytest.raises(ValueError, match="needs its probability"):
        game.add_move(chance, "Up")
    with pytest.raises(ValueError, match="another game"):
        game.add_move(other.add_node("Far"), "Up")
    with pytest.raises(ValueError, match="longer than 16 bytes"):
        game.add_node("A name far too long", ann)
    with pytest.raises(ValueError, match="no player named 'Bob'"):
        game.add_node("B", "Bob")
    table = game.add_table("T", [(ann, ["A", "B"]), (game.add_player("Bob"), ["C"])])
    with pytest.raises(ValueError, match="no cell of the strategies A, D"):
        table.cell("A", "D")
    assert [c.strategies for c in table.cells] == [["A", "C"], ["B", "C"]]


def test_handles_arguments_and_paths_are_checked(tmp_path):
    game = ludomark.Game()
    ann = game.add_player("Ann")
    node = game.add_node("Lone", ann)
    # The audit frees a set of one node: its handle says so instead of reaching freed memory.
    lone = game.add_info_set("x", [node])
    game.audit()
    with pytest.raises(ludomark.Error, match="no longer part of the game"):
        lone.name
    assert "gone" in repr(lone)
    assert node.name == "Lone"
    assert {node: 1}[node] == 1 and node == game.nodes[0] and node != ann
    # Wrong types name the argument; a NUL cuts no path short; a discount of 0 is refused.
    with pytest.raises(TypeError, match="a player must be a Player or a player's name, not int"):
        game.add_node("B", 7)
    with pytest.raises(TypeError, match="a payoff must be a number, not str"):
        game.add_move(node, "End", payoffs={ann: "much"})
    with pytest.raises(TypeError, match="the strategies must be a list of names"):
        game.add_table("T", [(ann, 5), (game.add_player("Bob"), ["C"])])
    with pytest.raises(ludomark.FileError, match="NUL"):
        ludomark.Game.read(str(tmp_path / "a.lmx") + "\0.efg")
    with pytest.raises(ludomark.FileError, match="NUL"):
        game.write(str(tmp_path / "b.lmx") + "\0x")
    with pytest.raises(ValueError, match="above 0"):
        game.add_move(node, "Wait", node, discount=0)
