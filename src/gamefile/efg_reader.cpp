#include "gamefile/efg_reader.h"

#include <cmath>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "gamefile/exchange_names.h"
#include "gamefile/exchange_tokens.h"
#include "gamefile/precise_numbers.h"
#include "gamefile/tree_layout.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/number_format.h"
#include "model/payoff.h"
#include "model/player.h"

namespace ludomark {

namespace {
using Kind = TExchangeTokens::Kind;

struct TEfgSet {
  std::string name;
  std::vector<std::string> actions;
  std::vector<double> probabilities;          // chance sets only
  std::vector<std::string> probabilityTexts;  // as the file wrote them
  std::vector<int> nodes;
};

struct TEfgNode {
  char kind = 't';  // 'c', 'p' or 't'
  std::string name;
  int player = 0;                 // 1-based; 0 for chance and terminal nodes
  std::pair<int, int> set{0, 0};  // (player, number)
  int outcome = 0;
  int parent = -1;
  int action = 0;  // the parent's action that leads here
  std::vector<int> children;
  int depth = 0;
};

struct TEfgGame {
  std::vector<std::string> players;
  std::vector<TEfgNode> nodes;  // in pre-order; the root first
  std::map<std::pair<int, int>, TEfgSet> sets;
  std::map<int, std::vector<double>> outcomes;
  std::map<int, std::vector<std::string>> outcomeTexts;
};

constexpr int kMaxNodes = 1000000;

void ParseOutcome(TExchangeTokens& tokens, TEfgGame& g, TEfgNode& node) {
  const auto number = tokens.Expect(Kind::Number, "the outcome number");
  if (number.value < 0 || number.value != std::floor(number.value) || number.value > kMaxNodes) {
    tokens.Fail(number.line, "an outcome number must be a whole number from 0");
  }
  node.outcome = static_cast<int>(number.value);
  if (node.outcome == 0) return;
  if (tokens.Peek().kind == Kind::String) tokens.Next();  // its name
  if (tokens.Peek().kind == Kind::Open) {
    const int line = tokens.Next().line;
    std::vector<double> pays;
    std::vector<std::string> texts;
    while (tokens.Peek().kind == Kind::Number) {
      const auto pay = tokens.Next();
      pays.push_back(pay.value);
      texts.push_back(pay.text);
    }
    tokens.Expect(Kind::Close, "\"}\" after the outcome's payoffs");
    if (pays.size() != g.players.size()) {
      tokens.Fail(line, "outcome " + std::to_string(node.outcome) + " has " +
                            std::to_string(pays.size()) + " payoffs, the game " +
                            std::to_string(g.players.size()) + " players");
    }
    // Given again, an outcome must repeat its payoffs: other ones would silently change the
    // nodes that used it before.
    const auto earlier = g.outcomes.find(node.outcome);
    if (earlier != g.outcomes.end() && earlier->second != pays) {
      tokens.Fail(line,
                  "outcome " + std::to_string(node.outcome) + " is given again with other payoffs");
    }
    g.outcomes[node.outcome] = pays;
    g.outcomeTexts[node.outcome] = texts;
  } else if (g.outcomes.count(node.outcome) == 0) {
    tokens.Fail(number.line, "outcome " + std::to_string(node.outcome) + " has no payoffs yet");
  }
}

// A node's set: its actions (and probabilities) where the set first appears, the same count
// wherever they are repeated.
void ParseActions(TExchangeTokens& tokens, TEfgGame& g, TEfgNode& node, int line) {
  TEfgSet& set = g.sets[node.set];
  const bool known = !set.nodes.empty();
  if (tokens.Peek().kind == Kind::String) {
    const std::string name = tokens.Next().text;
    if (!known) set.name = name;
  }
  if (tokens.Peek().kind == Kind::Open) {
    tokens.Next();
    std::vector<std::string> actions;
    std::vector<double> probabilities;
    std::vector<std::string> texts;
    while (tokens.Peek().kind == Kind::String) {
      actions.push_back(tokens.Next().text);
      if (node.kind == 'c') {
        const auto p =
            tokens.Expect(Kind::Number, "the probability of action \"" + actions.back() + "\"");
        if (p.value < 0 || p.value > 1) tokens.Fail(p.line, "a probability lies from 0 to 1");
        probabilities.push_back(p.value);
        texts.push_back(p.text);
      }
    }
    tokens.Expect(Kind::Close, "\"}\" after the actions");
    if (actions.empty()) tokens.Fail(line, "a node has no action");
    if (node.kind == 'c') {
      double sum = 0;
      for (double p : probabilities) sum += p;
      if (std::fabs(sum - 1) > kChanceSumTolerance)
        tokens.Fail(line, "the probabilities sum to " + FormatGeneral(sum, 6) + ", not 1");
    }
    if (known && (actions.size() != set.actions.size() ||
                  (node.kind == 'c' && probabilities != set.probabilities))) {
      tokens.Fail(line, "this node's actions differ from those of its information set");
    }
    if (!known) {
      set.actions = actions;
      set.probabilities = probabilities;
      set.probabilityTexts = texts;
    }
  } else if (!known) {
    tokens.Fail(line, "expected \"{\" and the actions where the information set first appears");
  }
  set.nodes.push_back(static_cast<int>(g.nodes.size()));
}

TEfgGame Parse(TExchangeTokens& tokens) {
  TEfgGame g;
  const auto head = tokens.Expect(Kind::Word, "\"EFG\"");
  if (head.text != "EFG") tokens.Fail(head.line, "expected \"EFG\" at the start");
  tokens.ExpectNumber("the version after EFG");
  const auto letter = tokens.Expect(Kind::Word, "the number kind R after the version");
  if (letter.text != "R" && letter.text != "D") tokens.Fail(letter.line, "expected R or D");
  tokens.Expect(Kind::String, "the title");
  tokens.Expect(Kind::Open, "\"{\" before the player names");
  while (tokens.Peek().kind == Kind::String) g.players.push_back(tokens.Next().text);
  tokens.Expect(Kind::Close, "\"}\" after the player names");
  if (tokens.Peek().kind == Kind::String) tokens.Next();  // the comment
  // Pre-order without recursion: the stack holds the nodes still missing children.
  std::vector<int> open;
  do {
    if (static_cast<int>(g.nodes.size()) >= kMaxNodes)
      tokens.Fail(tokens.Peek().line, "too many nodes");
    const auto word = tokens.Expect(Kind::Word, "a node (c, p or t)");
    if (word.text != "c" && word.text != "p" && word.text != "t") {
      tokens.Fail(word.line, "unknown node kind \"" + word.text + "\"; expected c, p or t");
    }
    TEfgNode node;
    node.kind = word.text[0];
    node.name = tokens.Expect(Kind::String, "the node's name").text;
    if (node.kind == 'p') {
      const auto player = tokens.Expect(Kind::Number, "the player number");
      if (player.value < 1 || player.value > static_cast<double>(g.players.size()) ||
          player.value != std::floor(player.value)) {
        tokens.Fail(player.line, "player " + player.text + " does not exist");
      }
      node.player = static_cast<int>(player.value);
    }
    if (node.kind != 't') {
      const auto number = tokens.Expect(Kind::Number, "the information set number");
      if (number.value < 1 || number.value != std::floor(number.value) ||
          number.value > kMaxNodes) {
        tokens.Fail(number.line, "an information set number must be a whole number from 1");
      }
      node.set = {node.player, static_cast<int>(number.value)};
      ParseActions(tokens, g, node, word.line);
    }
    ParseOutcome(tokens, g, node);
    const int index = static_cast<int>(g.nodes.size());
    if (!open.empty()) {
      TEfgNode& parent = g.nodes[static_cast<std::size_t>(open.back())];
      node.parent = open.back();
      node.action = static_cast<int>(parent.children.size());
      node.depth = parent.depth + 1;
      parent.children.push_back(index);
      if (parent.children.size() == g.sets[parent.set].actions.size()) open.pop_back();
    }
    if (g.nodes.empty() && node.kind == 't') {
      // A game file holds payoffs on moves; a game over before its first move has none.
      tokens.Fail(word.line, "the first node ends the game: there is no move to hold its payoffs");
    }
    g.nodes.push_back(node);
    if (node.kind != 't') open.push_back(index);
  } while (!open.empty());
  const auto rest = tokens.Peek();
  if (rest.kind != Kind::End)
    tokens.Fail(rest.line, "unexpected \"" + rest.text + "\" after the last node");
  return g;
}

// Probabilities at full precision, summing to exactly 1: when the file's numbers do not, the
// largest takes the rest (and loses its text, no longer its number).
std::vector<double> SummingToOne(const std::vector<double>& given, std::size_t& adjusted) {
  std::vector<double> stored = given;
  adjusted = given.size();
  double sum = 0;
  for (double p : given) sum += p;
  if (sum == 1 || given.empty()) return stored;
  std::size_t largest = 0;
  for (std::size_t i = 0; i < given.size(); ++i) {
    if (given[i] > given[largest]) largest = i;
  }
  double others = 0;
  for (std::size_t i = 0; i < given.size(); ++i) {
    if (i != largest) others += given[i];
  }
  stored[largest] = 1 - others;
  // Summed in the order of the moves, as the audit and the solver sum them, it is 1 too.
  for (int round = 0; round < 2; ++round) {
    double inOrder = 0;
    for (double p : stored) inOrder += p;
    if (inOrder == 1) break;
    stored[largest] += 1 - inOrder;
  }
  if (stored[largest] != given[largest]) adjusted = largest;
  return stored;
}

void Build(const TEfgGame& g, TGameType32& game) {
  const std::vector<TPlayer32*> players = AddPlayers(g.players, game);
  std::vector<TNode32*> made(g.nodes.size(), nullptr);
  std::vector<TMove32*> entering(g.nodes.size(), nullptr);
  std::vector<std::set<std::string>> moveNames(g.nodes.size());
  // Node names are unique: the audit tells the members of a set apart by name, and a listing
  // names each choice by its node. An unnamed node takes its set's name, or its number.
  std::set<std::string> nodeNames;
  // Made once a set, not once a move: a chance node of 100 000 actions stays linear.
  std::map<std::pair<int, int>, std::vector<double>> stored;
  std::map<std::pair<int, int>, std::size_t> adjusted;
  for (const auto& [key, set] : g.sets) {
    if (!set.probabilities.empty()) stored[key] = SummingToOne(set.probabilities, adjusted[key]);
  }
  for (std::size_t i = 0; i < g.nodes.size(); ++i) {
    const TEfgNode& node = g.nodes[i];
    if (node.kind != 't') {
      auto* n = NewElement<TNode32>(&game);
      const std::string& setName = g.sets.at(node.set).name;
      n->SetName(FitName(node.name.empty() ? setName : node.name, nodeNames,
                         "Node " + std::to_string(i + 1)));
      if (node.player > 0) n->SetPlayer(players[static_cast<std::size_t>(node.player) - 1]);
      game.AddObject(n);
      made[i] = n;
    }
    if (node.parent < 0) continue;
    const auto parent = static_cast<std::size_t>(node.parent);
    const TEfgSet& set = g.sets.at(g.nodes[parent].set);
    auto* move = NewElement<TMove32>(&game);
    const auto action = static_cast<std::size_t>(node.action);
    move->SetName(FitName(set.actions[action], moveNames[parent], std::to_string(action + 1)));
    move->From = made[parent];
    move->To = made[i];
    if (g.nodes[parent].kind == 'c') {
      move->Value = stored.at(g.nodes[parent].set)[action];
      if (adjusted.at(g.nodes[parent].set) != action) {
        KeepExactNumber(game, move, set.probabilityTexts[action], move->Value);
      }
    }
    game.AddObject(move);
    entering[i] = move;
  }
  // Payoffs: a terminal's outcome and an inner node's on the move entering it, the root's on
  // each move leaving it; a final move without any outcome pays 0.
  std::map<TMove32*, std::vector<double>> earned;
  // The outcome a payoff comes from, while it comes from one alone: its text is the payoff's.
  std::map<TMove32*, std::vector<int>> from;
  auto earn = [&](TMove32* move, int outcome) {
    std::vector<double>& sum = earned[move];
    sum.resize(players.size(), 0.0);
    from[move].resize(players.size(), 0);
    if (outcome == 0) return;
    const std::vector<double>& pays = g.outcomes.at(outcome);
    for (std::size_t p = 0; p < pays.size(); ++p) {
      if (pays[p] != 0) from[move][p] = sum[p] == 0 && from[move][p] == 0 ? outcome : -1;
      sum[p] += pays[p];
    }
  };
  for (std::size_t i = 0; i < g.nodes.size(); ++i) {
    const TEfgNode& node = g.nodes[i];
    if (node.parent >= 0 && (node.kind == 't' || node.outcome != 0))
      earn(entering[i], node.outcome);
    if (node.parent < 0 && node.outcome != 0) {
      for (int child : node.children) earn(entering[static_cast<std::size_t>(child)], node.outcome);
    }
  }
  for (std::size_t i = 0; i < g.nodes.size(); ++i) {
    TMove32* move = entering[i];
    if (move == nullptr || earned.count(move) == 0) continue;
    const std::vector<double>& sum = earned[move];
    for (std::size_t p = 0; p < players.size(); ++p) {
      auto* payoff = NewElement<TPayoff32>(&game);
      payoff->Move = move;
      payoff->Player = players[p];
      payoff->Value = sum[p];
      game.AddObject(payoff);
      if (const int outcome = from[move][p]; outcome > 0) {
        KeepExactNumber(game, payoff, g.outcomeTexts.at(outcome)[p], payoff->Value);
      }
    }
  }
  std::set<std::string> setNames;
  for (const auto& [key, set] : g.sets) {
    if (set.nodes.size() < 2) continue;  // a node alone needs no set
    auto* info = NewElement<TInfo32>(&game);
    info->SetName(FitName(set.name, setNames));
    game.AddObject(info);
    for (int n : set.nodes) made[static_cast<std::size_t>(n)]->SetInfo(info);
    info->Relink();
  }
  // Laid out as Display > Arrange and the Python module lay out a tree.
  LayOutTree(game, [](const TGameObject32*) { return false; });
  game.SetStatus(StatusSaved);
}
}  // namespace

void ReadEfgText(const std::string& text, const std::string& path, TGameType32& game) {
  TExchangeTokens tokens(text, path);
  Build(Parse(tokens), game);
}

}  // namespace ludomark
