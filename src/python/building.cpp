#include <pybind11/stl.h>

#include <cmath>
#include <optional>
#include <set>
#include <utility>

#include "gamefile/exchange_names.h"
#include "model/cell.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/player.h"
#include "model/side.h"
#include "model/strat.h"
#include "model/table.h"
#include "model/table_edit.h"
#include "python/game_state.h"

namespace ludomark::python {
namespace {

using Position = std::optional<std::pair<int32_t, int32_t>>;

// Names as the file keeps them: 16 bytes at most, no control characters.
std::string CheckedName(const std::string& name, const char* what) {
  if (name.size() > 16)
    throw py::value_error(std::string(what) + " name '" + name + "' is longer than 16 bytes");
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20)
      throw py::value_error(std::string(what) + " name holds a control character");
  }
  return name;
}

void Place(GameState& state, TGameObject32* e, const Position& at) {
  if (at) {
    e->SetPosition(at->first, at->second);
    state.Placed.insert(e);
  } else {
    state.NeedsLayout = true;
  }
}

template <class T>
py::list HandlesOf(const GamePtr& game, TGameList& list, int typeCode) {
  py::list handles;
  list.ForEach([&](TGameObject32* e) {
    if (!e->Temporary && e->TypeCode == typeCode) handles.append(T{{game, e}});
  });
  return handles;
}

Player AddPlayer(const GamePtr& game, const std::string& name, std::optional<int32_t> color) {
  CheckedName(name, "a player");
  game->Game.Players().ForEach([&](TGameObject32* e) {
    if (e->Name == name) throw py::value_error("the game has a player named '" + name + "'");
  });
  game->BeginEdit();
  const int index = game->Game.Players().LiveCount();
  auto* player = NewElement<TPlayer32>(&game->Game);
  player->SetName(name);
  player->Color = color.value_or(PlayerColor(index));
  player->SetPosition(40, 40 + 45 * index);
  game->Game.AddObject(player);
  return Player{{game, player}};
}

py::object AddNode(const GamePtr& game, const std::string& name, const py::object& player,
                   const Position& position) {
  CheckedName(name, "a node");
  TPlayer32* owner = player.is_none() ? nullptr : PlayerOf(game, player);
  game->BeginEdit();
  auto* node = NewElement<TNode32>(&game->Game);
  node->SetName(name);
  node->SetPlayer(owner);
  game->Game.AddObject(node);
  Place(*game, node, position);
  return NodeHandle(game, node);
}

Move AddMove(const GamePtr& game, const Node& source, const std::string& name,
             const std::optional<Node>& target, std::optional<double> probability,
             std::optional<double> discount, const std::optional<py::dict>& payoffs,
             const Position& position) {
  CheckedName(name, "a move");
  CheckSameGame(game, source, "the source");
  if (target) CheckSameGame(game, *target, "the target");
  if (source.Target->TypeCode == kTable)
    throw py::value_error("a table's moves are its cells: use table.cell(...)");
  const bool chance = Target<TNode32>(source)->Player.get() == nullptr;
  if (chance && discount)
    throw py::value_error("a move of a chance node has a probability, not a discount");
  if (!chance && probability)
    throw py::value_error("a move of a player's node has a discount, not a probability");
  if (chance && !probability)
    throw py::value_error("a move of a chance node needs its probability");
  const double value = chance ? *probability : discount.value_or(1.0);
  if (!std::isfinite(value) || value < 0 || value > 1 || (!chance && value <= 0)) {
    throw py::value_error(chance ? "a probability lies from 0 to 1"
                                 : "a discount lies above 0 and at most 1");
  }
  game->BeginEdit();
  auto* move = NewElement<TMove32>(&game->Game);
  move->SetName(name);
  move->From = Target<TNode32>(source);
  move->To = target ? Target<TNode32>(*target) : nullptr;
  move->Value = value;
  game->Game.AddObject(move);
  Place(*game, move, position);
  move->Refresh();
  if (payoffs) SetPayoffs(game, move, *payoffs);
  return Move{{game, move}};
}

InfoSet AddInfoSet(const GamePtr& game, const std::string& name, const std::vector<Node>& nodes) {
  CheckedName(name, "an information set");
  if (nodes.empty()) throw py::value_error("an information set needs its nodes");
  for (const Node& n : nodes) {
    CheckSameGame(game, n, "a node");
    if (n.Target->TypeCode == kTable) throw py::value_error("a table is in no information set");
  }
  game->BeginEdit();
  auto* info = NewElement<TInfo32>(&game->Game);
  info->SetName(name);
  game->Game.AddObject(info);
  for (const Node& n : nodes) Target<TNode32>(n)->SetInfo(info);
  info->Relink();
  return InfoSet{{game, info}};
}

// The sides of a new table: a mapping of players to their strategy names, or pairs of them.
std::vector<std::pair<TPlayer32*, std::vector<std::string>>> SidesOf(const GamePtr& game,
                                                                     const py::object& sides) {
  std::vector<std::pair<TPlayer32*, std::vector<std::string>>> result;
  py::iterable pairs = py::isinstance<py::dict>(sides)
                           ? py::iterable(sides.attr("items")())
                           : Arg<py::iterable>(sides, "the sides", "a mapping or pairs");
  std::set<TPlayer32*> seen;
  for (py::handle pair : pairs) {
    auto tuple = Arg<py::tuple>(pair, "a side", "a (player, strategies) pair");
    if (tuple.size() != 2) throw py::value_error("a side is a player and its strategies");
    TPlayer32* player = PlayerOf(game, tuple[0]);
    if (!seen.insert(player).second)
      throw py::value_error("a player has one side of a table: " + player->Name);
    auto names = Arg<std::vector<std::string>>(tuple[1], "the strategies", "a list of names");
    if (names.empty()) throw py::value_error("the side of " + player->Name + " has no strategy");
    std::set<std::string> distinct;
    for (const std::string& n : names) {
      CheckedName(n, "a strategy");
      if (!distinct.insert(n).second) throw py::value_error("strategy '" + n + "' is given twice");
    }
    result.emplace_back(player, std::move(names));
  }
  if (result.size() < 2) throw py::value_error("a table has two sides or more");
  return result;
}

Table AddTable(const GamePtr& game, const std::string& name, const py::object& sides,
               const Position& position) {
  CheckedName(name, "a table");
  const auto given = SidesOf(game, sides);
  game->BeginEdit();
  auto* table = NewElement<TTable32>(&game->Game);
  table->SetName(name);
  game->Game.AddObject(table);
  Place(*game, table, position);
  for (const auto& [player, names] : given) {
    std::unique_ptr<TSide32> scratch = MakeScratchSide(nullptr, *table);
    scratch->SetName(player->Name);
    scratch->Player = player;
    for (const std::string& n : names) {
      auto* strategy = NewElement<TStrat32>(&game->Game);
      strategy->SetName(n);
      strategy->Info = scratch.get();
      scratch->AddChoice(strategy);
    }
    if (!ApplySideEdit(nullptr, *scratch, *table)) {
      const auto& shown = game->Game.RecordedMessages().Shown;
      throw py::value_error("the side of " + player->Name + " could not be added" +
                            (shown.empty() ? "" : ": " + shown.back()));
    }
  }
  table->Refresh();
  return Table{{{game, table}}};
}

}  // namespace

void BindBuilding(py::class_<GameState, GamePtr>& game) {
  game.def_property(
          "name", [](const GamePtr& g) { return Text(g->Name()); },
          [](const GamePtr& g, const std::string& name) { g->Game.Header().Name = name; },
          "The game's name.")
      .def_property_readonly(
          "players",
          [](const GamePtr& g) { return HandlesOf<Player>(g, g->Game.Players(), kPlayer); },
          "Its players, in order.")
      .def_property_readonly(
          "nodes",
          [](const GamePtr& g) {
            py::list nodes;
            g->Game.Nodes().ForEachAs<TNode32>([&](TNode32* n) {
              if (!n->Temporary) nodes.append(NodeHandle(g, n));
            });
            return nodes;
          },
          "Its nodes and tables, in order.")
      .def_property_readonly(
          "tables", [](const GamePtr& g) { return HandlesOf<Table>(g, g->Game.Nodes(), kTable); },
          "Its tables.")
      .def_property_readonly(
          "moves", [](const GamePtr& g) { return HandlesOf<Move>(g, g->Game.Moves(), kMove); },
          "Its moves (cells are their tables').")
      .def_property_readonly(
          "info_sets",
          [](const GamePtr& g) { return HandlesOf<InfoSet>(g, g->Game.Infos(), kInfo); },
          "Its information sets of two or more nodes.")
      .def("add_player", &AddPlayer, py::arg("name"), py::kw_only(), py::arg("color") = py::none(),
           "Adds a player (colour 0xBBGGRR, chosen when not given).")
      .def("add_node", &AddNode, py::arg("name"), py::arg("player") = py::none(), py::kw_only(),
           py::arg("position") = py::none(),
           "Adds a node of the player (a handle or a name); without one, a chance node.")
      .def("add_move", &AddMove, py::arg("source"), py::arg("name"), py::arg("target") = py::none(),
           py::kw_only(), py::arg("probability") = py::none(), py::arg("discount") = py::none(),
           py::arg("payoffs") = py::none(), py::arg("position") = py::none(),
           "Adds a move from the source to the target, or a final move without one. A chance "
           "node's moves have probabilities, a player's a discount (1 when not given).")
      .def("add_info_set", &AddInfoSet, py::arg("name"), py::arg("nodes"),
           "Puts the nodes (of one player) into one information set.")
      .def("add_table", &AddTable, py::arg("name"), py::arg("sides"), py::kw_only(),
           py::arg("position") = py::none(),
           "Adds a table; sides maps each player to the names of their strategies, in order.");
}

}  // namespace ludomark::python
