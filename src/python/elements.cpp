#include <pybind11/stl.h>

#include <cmath>
#include <utility>

#include "model/cell.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/payoff.h"
#include "model/player.h"
#include "model/side.h"
#include "model/strat.h"
#include "model/table.h"
#include "python/game_state.h"

namespace ludomark::python {

TPlayer32* PlayerOf(const GamePtr& game, py::handle player) {
  if (py::isinstance<Player>(player)) {
    const auto& p = player.cast<const Player&>();
    CheckSameGame(game, p, "the player");
    return Target<TPlayer32>(p);
  }
  const auto name = Arg<std::string>(player, "a player", "a Player or a player's name");
  TPlayer32* found = nullptr;
  game->Game.Players().ForEachAs<TPlayer32>([&](TPlayer32* p) {
    if (found == nullptr && p->Name == name) found = p;
  });
  if (found == nullptr) throw py::value_error("the game has no player named '" + name + "'");
  return found;
}

void SetPayoffs(const GamePtr& game, TMove32* move, const py::dict& payoffs) {
  std::vector<std::pair<TPlayer32*, double>> values;
  for (auto [player, value] : payoffs) {
    const auto number = Arg<double>(value, "a payoff", "a number");
    if (!std::isfinite(number)) throw py::value_error("a payoff must be a finite number");
    values.emplace_back(PlayerOf(game, player), number);
  }
  game->BeginEdit();
  move->RebuildPayoffList();
  for (auto [player, number] : values) {
    TPayoff32* payoff = move->FindPayoff(player);
    if (payoff == nullptr) {
      payoff = NewElement<TPayoff32>(&game->Game);
      payoff->Move = move;
      payoff->Player = player;
      game->Game.AddObject(payoff);
    }
    payoff->Value = number;
  }
  move->RebuildPayoffList();
}

namespace {

template <class Class>
void ElementBasics(Class& c, const char* kind) {
  using Handle = typename Class::type;
  c.def_property_readonly(
       "name", [](const Handle& h) { return Text(Live(h)->Name); }, "Its name in the game.")
      .def("__eq__",
           [](const Handle& a, const py::object& b) {
             return py::isinstance<Element>(b) && a.Target == b.cast<const Element&>().Target;
           })
      .def("__hash__", [](const Handle& h) { return std::hash<const void*>()(h.Target); })
      .def("__repr__", [kind](const Handle& h) {
        if (!h.Game->Holds(h.Target)) return Text(std::string("<ludomark.") + kind + " (gone)>");
        return Text(std::string("<ludomark.") + kind + " '" + h.Target->Name + "'>");
      });
}

py::object PlayerHandle(const GamePtr& game, TPlayer32* player) {
  if (player == nullptr) return py::none();
  return py::cast(Player{{game, player}});
}

py::list MovesLeaving(const Node& n) {
  py::list moves;
  n.Game->Game.Moves().ForEachAs<TMove32>([&](TMove32* m) {
    if (!m->Temporary && m->TypeCode == kMove && m->From.get() == n.Target)
      moves.append(Move{{n.Game, m}});
  });
  return moves;
}

py::list CellsOf(const Table& t) {
  py::list cells;
  Target<TTable32>(t)->Cells.ForEachAs<TCell32>([&](TCell32* c) {
    cells.append(Cell{{{t.Game, c}}});
  });
  return cells;
}

Cell CellNamed(const Table& t, const std::vector<std::string>& names) {
  auto* table = Target<TTable32>(t);
  if (static_cast<int>(names.size()) != table->SideCount()) {
    throw py::value_error("the table has " + std::to_string(table->SideCount()) +
                          " sides: name one strategy of each");
  }
  TCell32* found = nullptr;
  table->Cells.ForEachAs<TCell32>([&](TCell32* cell) {
    for (std::size_t i = 0; i < names.size(); ++i) {
      TStrat32* s = cell->StrategyOf(table->SideAt(static_cast<int>(i)));
      if (s == nullptr || s->Name != names[i]) return;
    }
    if (found == nullptr) found = cell;
  });
  if (found == nullptr) {
    std::string joined;
    for (const std::string& n : names) joined += (joined.empty() ? "" : ", ") + n;
    throw py::value_error("the table has no cell of the strategies " + joined);
  }
  return Cell{{{t.Game, found}}};
}

py::dict PayoffsOf(const Move& m) {
  py::dict payoffs;
  m.Game->Game.Payoffs().ForEachAs<TPayoff32>([&](TPayoff32* p) {
    if (p->Move.get() == m.Target && p->Player.get() != nullptr)
      payoffs[Text(p->Player->Name)] = p->Value;
  });
  return payoffs;
}

bool FromChance(const Move& m) {
  TNode32* from = Target<TMove32>(m)->From.get();
  return from != nullptr && from->TypeCode == kNode && from->Player.get() == nullptr;
}

}  // namespace

void BindElements(py::module_& m) {
  const py::class_<Element> element(m, "Element", "What every element of a game is.");
  py::class_<Player, Element> player(m, "Player", "A player of a game.");
  ElementBasics(player, "Player");
  player.def_property_readonly(
      "color", [](const Player& p) { return p.Target->Color; }, "Its colour, as 0xBBGGRR.");

  py::class_<InfoSet, Element> info(m, "InfoSet",
                                    "Decision nodes of one player that they cannot tell apart.");
  ElementBasics(info, "InfoSet");
  info.def_property_readonly(
      "nodes",
      [](const InfoSet& i) {
        py::list nodes;
        i.Game->Game.Nodes().ForEachAs<TNode32>([&](TNode32* n) {
          if (n->Info.get() == i.Target) nodes.append(Node{{i.Game, n}});
        });
        return nodes;
      },
      "Its member nodes.");

  py::class_<Node, Element> node(m, "Node", "A decision node (of a player) or a chance node.");
  ElementBasics(node, "Node");
  node.def_property_readonly(
          "player",
          [](const Node& n) { return PlayerHandle(n.Game, Target<TNode32>(n)->Player.get()); },
          "The player who moves here; None at a chance node.")
      .def_property_readonly(
          "is_chance",
          [](const Node& n) {
            return n.Target->TypeCode == kNode && Target<TNode32>(n)->Player.get() == nullptr;
          },
          "Whether chance moves here.")
      .def_property_readonly(
          "position",
          [](const Node& n) {
            n.Game->LayOut();
            return std::make_pair(n.Target->X, n.Target->Y);
          },
          "Where it is drawn, (x, y) (laid out first when not placed).")
      .def_property_readonly(
          "info_set",
          [](const Node& n) -> py::object {
            TInfo32* info = Target<TNode32>(n)->Info.get();
            if (info == nullptr || info->TypeCode != kInfo) return py::none();
            return py::cast(InfoSet{{n.Game, info}});
          },
          "Its information set of two or more nodes, or None.")
      .def_property_readonly("moves", &MovesLeaving, "The moves leaving the node.");

  py::class_<Table, Node> table(m, "Table",
                                "A table in strategic form: one side a player, one cell each "
                                "combination of their strategies.");
  table
      .def("__repr__",
           [](const Table& t) { return Text("<ludomark.Table '" + t.Target->Name + "'>"); })
      .def_property_readonly(
          "sides",
          [](const Table& t) {
            py::list sides;
            auto* table = Target<TTable32>(t);
            for (int i = 0; i < table->SideCount(); ++i) {
              TSide32* side = table->SideAt(i);
              std::vector<std::string> names;
              names.reserve(static_cast<std::size_t>(side->StrategyCount()));
              for (int k = 0; k < side->StrategyCount(); ++k)
                names.push_back(side->StrategyAt(k)->Name);
              sides.append(py::make_tuple(PlayerHandle(t.Game, side->Player), Texts(names)));
            }
            return sides;
          },
          "Each side as (player, [strategy names]), in side order.")
      .def_property_readonly("cells", &CellsOf, "Its cells.")
      .def(
          "cell",
          [](const Table& t, const py::args& names) {
            return CellNamed(
                t, Arg<std::vector<std::string>>(names, "the strategies", "a list of names"));
          },
          "The cell of the strategies named, one of each side in side order.");

  py::class_<Move, Element> move(m, "Move",
                                 "A move from a node: to another node, or final without one.");
  ElementBasics(move, "Move");
  move.def_property_readonly(
          "source",
          [](const Move& mv) { return NodeHandle(mv.Game, Target<TMove32>(mv)->From.get()); },
          "The node it leaves.")
      .def_property_readonly(
          "target",
          [](const Move& mv) { return NodeHandle(mv.Game, Target<TMove32>(mv)->To.get()); },
          "The node it leads to; None for a final move.")
      .def_property_readonly(
          "probability",
          [](const Move& mv) -> py::object {
            if (!FromChance(mv)) return py::none();
            return py::float_(Target<TMove32>(mv)->Value);
          },
          "Its probability, for a move of chance; None otherwise.")
      .def_property_readonly(
          "discount",
          [](const Move& mv) -> py::object {
            if (FromChance(mv) || mv.Target->TypeCode == kCell) return py::none();
            return py::float_(Target<TMove32>(mv)->Value);
          },
          "Its discount, for a move of a player; None otherwise.")
      .def_property_readonly("payoffs", &PayoffsOf, "Each player's payoff, by player name.")
      .def(
          "set_payoffs",
          [](const Move& mv, const py::dict& payoffs) {
            SetPayoffs(mv.Game, Target<TMove32>(mv), payoffs);
          },
          py::arg("payoffs"), "Sets payoffs from a mapping of players (or names) to numbers.");

  py::class_<Cell, Move> cell(m, "Cell", "One cell of a table: final, or leading on to a node.");
  cell.def("__repr__",
           [](const Cell& c) { return Text("<ludomark.Cell '" + c.Target->Name + "'>"); })
      .def_property_readonly(
          "table",
          [](const Cell& c) { return NodeHandle(c.Game, Target<TCell32>(c)->Table.get()); },
          "The table it belongs to.")
      .def_property_readonly(
          "target", [](const Cell& c) { return NodeHandle(c.Game, Target<TCell32>(c)->To.get()); },
          "The node it leads on to; None for a final cell.")
      .def_property_readonly(
          "strategies",
          [](const Cell& c) {
            std::vector<std::string> names;
            Target<TCell32>(c)->CellStrategies.ForEach(
                [&](TGameObject32* s) { names.push_back(s->Name); });
            return Texts(names);
          },
          "The strategy of each side that makes the cell.")
      .def(
          "lead_to",
          [](const Cell& c, const std::optional<Node>& node) {
            if (node) CheckSameGame(c.Game, *node, "the node");
            c.Game->BeginEdit();
            Target<TCell32>(c)->To = node ? Target<TNode32>(*node) : nullptr;
            Target<TCell32>(c)->Refresh();
          },
          py::arg("node"), "Makes the cell lead on to the node (None: final again).");
}

}  // namespace ludomark::python
