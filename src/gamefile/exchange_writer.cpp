#include "gamefile/exchange_writer.h"

#include <charconv>
#include <filesystem>
#include <map>
#include <unordered_map>
#include <vector>

#include "gamefile/atomic_file.h"
#include "gamefile/file_error.h"
#include "gamefile/precise_numbers.h"
#include "model/cell.h"
#include "model/info.h"
#include "model/move.h"
#include "model/payoff.h"
#include "model/player.h"
#include "model/side.h"
#include "model/strat.h"
#include "model/table.h"

namespace ludomark {

namespace {

// The shortest text that reads back as the same number.
std::string Number(double value) {
  char buffer[32];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, r.ptr);
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string Players(const std::vector<TPlayer32*>& players) {
  std::string out = "{";
  for (const TPlayer32* p : players) out.append(" ").append(Quoted(p->Name));
  return out + " }";
}

// The element's number as an exchange file gave it (an imported "1/3" stays 1/3), else the
// shortest text that reads back as it.
std::string NumberOf(const TGameObject32& element, double value) {
  auto* game = As<TGameForm32>(element.Owner);
  return game != nullptr ? ExchangeNumberText(*game, &element, value) : Number(value);
}

// The move's payoff for each player, 0 where it has none.
std::vector<std::string> PayoffsOf(TMove32& move, const std::vector<TPlayer32*>& players) {
  move.RebuildPayoffList();
  std::vector<std::string> pays;
  for (TPlayer32* p : players) {
    const TPayoff32* payoff = move.FindPayoff(p);
    pays.push_back(payoff != nullptr ? NumberOf(*payoff, payoff->Value) : "0");
  }
  return pays;
}

bool HasPayoffs(TMove32& move) {
  move.RebuildPayoffList();
  return !move.PayoffList.Empty();
}

}  // namespace

std::string WriteNfgText(TGameType32& game, const std::string& path) {
  auto refuse = [&](const std::string& why) -> void {
    throw TFileError(path, "Cannot be written as a strategic form: " + why);
  };
  TTable32* table = nullptr;
  game.Nodes().ForEach([&](TGameObject32* n) {
    if (n->Temporary) return;
    if (n->TypeCode != kTable) refuse("node " + n->Name + " lies outside a table");
    if (table != nullptr) refuse("the game has more than one table");
    table = As<TTable32>(n);
  });
  if (table == nullptr) refuse("the game has no table");
  std::vector<TPlayer32*> players;
  std::vector<std::vector<TStrat32*>> strategies;
  for (int i = 0; i < table->SideCount(); ++i) {
    TSide32* side = table->SideAt(i);
    if (side->Player.get() == nullptr) refuse("side " + side->Name + " has no owner");
    players.push_back(side->Player.get());
    strategies.push_back(ElementsOf<TStrat32>(side->Choices));
    if (strategies.back().empty()) refuse("side " + side->Name + " has no strategy");
  }
  if (players.empty()) refuse("table " + table->Name + " has no side");
  game.Players().ForEachAs<TPlayer32>([&](TPlayer32* p) {
    if (std::find(players.begin(), players.end(), p) == players.end()) {
      refuse("player " + p->Name + " owns no side of the table");
    }
  });
  // Each profile's cell, by the position of its strategies (the first player's fastest).
  std::size_t profiles = 1;
  for (const auto& s : strategies) profiles *= s.size();
  std::vector<TCell32*> cells(profiles, nullptr);
  table->Cells.ForEachAs<TCell32>([&](TCell32* cell) {
    if (cell->To.get() != nullptr) refuse("cell " + cell->Name + " leads on to a node");
    if (cell->Value != 1) refuse("cell " + cell->Name + " has a discount below 1");
    std::size_t profile = 0;
    std::size_t stride = 1;
    for (std::size_t i = 0; i < strategies.size(); ++i) {
      const auto& list = strategies[i];
      const auto at =
          std::find(list.begin(), list.end(), cell->StrategyOf(table->SideAt(static_cast<int>(i))));
      if (at == list.end()) refuse("cell " + cell->Name + " lacks a strategy");
      profile += static_cast<std::size_t>(at - list.begin()) * stride;
      stride *= list.size();
    }
    cells[profile] = cell;
  });
  std::string text = std::string("NFG 1 R ") + Quoted(table->Name) + " " + Players(players) + "\n{";
  for (const auto& list : strategies) {
    text += " {";
    for (const TStrat32* s : list) text.append(" ").append(Quoted(s->Name));
    text += " }";
  }
  text += " }\n\"\"\n";
  for (TCell32* cell : cells) {
    if (cell == nullptr) refuse("table " + table->Name + " misses a cell");
    std::string line;
    for (const std::string& v : PayoffsOf(*cell, players))
      line.append(line.empty() ? "" : " ").append(v);
    text += line + "\n";
  }
  return text;
}

std::string WriteEfgText(TGameType32& game, const std::string& path) {
  auto refuse = [&](const std::string& why) -> void {
    throw TFileError(path, "Cannot be written as a tree: " + why);
  };
  std::vector<TPlayer32*> players = ElementsOf<TPlayer32>(game.Players());
  std::unordered_map<TNode32*, std::vector<TMove32*>> leaving;
  std::unordered_map<TNode32*, TMove32*> entering;
  game.Moves().ForEachAs<TMove32>([&](TMove32* m) {
    if (m->Temporary) return;
    if (m->TypeCode == kCell) return;  // tables are refused below, by node
    TNode32* from = m->From.get();
    if (from == nullptr) refuse("move " + m->Name + " starts nowhere");
    if (from->Player.get() != nullptr && m->Value != 1) {
      refuse("move " + m->Name + " has a discount below 1");
    }
    leaving[from].push_back(m);
    if (TNode32* to = m->To.get()) {
      if (entering.count(to) != 0) refuse("node " + to->Name + " is reached by two moves");
      entering[to] = m;
    }
  });
  TNode32* root = nullptr;
  game.Nodes().ForEachAs<TNode32>([&](TNode32* n) {
    if (n->Temporary) return;
    if (n->TypeCode == kTable) refuse("table " + n->Name + " stands in the game");
    if (leaving[n].empty()) refuse("no move at node " + n->Name);
    if (entering.count(n) != 0) return;
    if (root != nullptr) refuse("the game starts at both " + root->Name + " and " + n->Name);
    root = n;
  });
  if (root == nullptr)
    refuse(game.Nodes().Empty() ? "the game has no node"
                                : "every node is reached by a move: a cycle");
  // Information sets: one number per set of each player, chance nodes each their own.
  std::map<const void*, int> setNumbers;
  std::map<const void*, TNode32*> firstOfSet;
  std::map<int, int> nextNumber;
  std::unordered_map<TNode32*, std::pair<int, int>> setOf;  // (player, number)
  std::unordered_map<TNode32*, TNode32*> firstMember;
  auto playerIndex = [&](const TPlayer32* p) {
    return p == nullptr
               ? 0
               : static_cast<int>(std::find(players.begin(), players.end(), p) - players.begin()) +
                     1;
  };
  // Chance nodes of one set share its number when they offer the same actions with the same
  // probabilities, as a reader requires of one chance set; otherwise each has its own.
  auto sameChance = [&](TNode32* a, TNode32* b) {
    const std::vector<TMove32*>& ours = leaving[a];
    const std::vector<TMove32*>& theirs = leaving[b];
    return ours.size() == theirs.size() &&
           std::all_of(theirs.begin(), theirs.end(), [&](const TMove32* m) {
             return std::any_of(ours.begin(), ours.end(), [&](const TMove32* o) {
               return o->Name == m->Name && o->Value == m->Value;
             });
           });
  };
  std::map<const void*, int> setSizes;
  std::unordered_map<TNode32*, const void*> keyOf;
  game.Nodes().ForEachAs<TNode32>([&](TNode32* n) {
    const int player = playerIndex(n->Player.get());
    TInfo32* info = n->Info.get();
    const void* key = info != nullptr ? static_cast<const void*>(info) : n;
    if (player == 0 && info != nullptr && firstOfSet.count(key) != 0 &&
        !sameChance(n, firstOfSet[key])) {
      key = n;
    }
    ++setSizes[key];
    keyOf[n] = key;
    if (setNumbers.count(key) == 0) {
      setNumbers[key] = ++nextNumber[player];
      firstOfSet[key] = n;
    }
    setOf[n] = {player, setNumbers[key]};
    firstMember[n] = firstOfSet[key];
  });
  // Every member offers the actions of the set's first member, in its order, matched by name.
  auto ordered = [&](TNode32* n) {
    std::vector<TMove32*> moves = leaving[n];
    TNode32* first = firstMember.count(n) != 0 ? firstMember[n] : n;
    if (first == n) return moves;
    std::vector<TMove32*> sorted;
    for (TMove32* model : leaving[first]) {
      const auto at = std::find_if(moves.begin(), moves.end(),
                                   [&](TMove32* m) { return m->Name == model->Name; });
      if (at == moves.end() || moves.size() != leaving[first].size()) {
        refuse("the moves at " + n->Name + " differ from those at " + first->Name);
      }
      sorted.push_back(*at);
    }
    return sorted;
  };
  std::string text =
      std::string("EFG 2 R ") + Quoted(game.Header().Name) + " " + Players(players) + "\n\"\"\n";
  int outcomes = 0;
  auto outcome = [&](TMove32* move, bool final) {
    if (move == nullptr || (!final && !HasPayoffs(*move))) return std::string(" 0");
    std::string pays;
    for (const std::string& v : PayoffsOf(*move, players))
      pays.append(pays.empty() ? "" : ", ").append(v);
    return std::string(" ") + std::to_string(++outcomes) + " \"\" { " + pays + " }";
  };
  std::unordered_map<TNode32*, bool> written;
  // Pre-order without recursion: each entry is a node, or a final move's terminal.
  struct Entry {
    TNode32* node;
    TMove32* final;
  };
  std::vector<Entry> stack{{root, nullptr}};
  while (!stack.empty()) {
    const Entry e = stack.back();
    stack.pop_back();
    if (e.node == nullptr) {
      text += std::string("t \"\"") + outcome(e.final, /*final=*/true) + "\n";
      continue;
    }
    if (written[e.node]) refuse("a cycle at node " + e.node->Name);
    written[e.node] = true;
    const auto [player, number] = setOf[e.node];
    const std::vector<TMove32*> moves = ordered(e.node);
    std::string actions = "{";
    for (TMove32* m : moves) {
      actions.append(" ").append(Quoted(m->Name));
      if (player == 0) actions.append(" ").append(NumberOf(*m, m->Value));
    }
    actions += " }";
    TInfo32* info = e.node->Info.get();
    // A reader makes no set of a single node: its name is written only for a set it keeps,
    // so that what is written reads back to the same text.
    const bool kept = info != nullptr && setSizes[keyOf[e.node]] >= 2;
    const std::string setName = Quoted(kept ? info->Name : "");
    const auto entered = entering.find(e.node);
    const std::string earned =
        outcome(entered != entering.end() ? entered->second : nullptr, false);
    text += player == 0 ? "c " : "p ";
    text += Quoted(e.node->Name);
    if (player != 0) text.append(" ").append(std::to_string(player));
    text.append(" ").append(std::to_string(number)).append(" ").append(setName);
    text.append(" ").append(actions).append(earned).append("\n");
    for (auto it = moves.rbegin(); it != moves.rend(); ++it) {
      stack.push_back(Entry{(*it)->To.get(), (*it)->To.get() == nullptr ? *it : nullptr});
    }
  }
  game.Nodes().ForEachAs<TNode32>([&](TNode32* n) {
    if (!n->Temporary && !written[n]) refuse("node " + n->Name + " lies in a cycle");
  });
  return text;
}

void WriteExchangeFile(const std::string& path, TGameType32& game) {
  const std::string ext = std::filesystem::path(path).extension().string();
  if (ext == ".nfg") {
    WriteFileAtomically(path, WriteNfgText(game, path));
  } else if (ext == ".efg") {
    WriteFileAtomically(path, WriteEfgText(game, path));
  } else {
    throw TFileError(path, "Games are exported as .efg or .nfg");
  }
}

}  // namespace ludomark
