#include "gamefile/nfg_reader.h"

#include <memory>
#include <set>
#include <unordered_map>
#include <vector>

#include "gamefile/exchange_names.h"
#include "gamefile/exchange_tokens.h"
#include "gamefile/precise_numbers.h"
#include "model/payoff.h"
#include "model/player.h"
#include "model/side.h"
#include "model/strat.h"
#include "model/table.h"
#include "model/table_edit.h"

namespace ludomark {

namespace {
using Kind = TExchangeTokens::Kind;

// What the file says, before any element is made.
struct TNfgGame {
  std::string title;
  std::vector<std::string> players;
  std::vector<std::vector<std::string>> strategies;  // per player
  std::vector<std::vector<double>> payoffs;          // per profile, per player
  // The texts worth keeping ("1/3"), by profile x players + player: most tables have none.
  std::unordered_map<std::size_t, std::string> texts;
};

// The number of pure profiles, refusing tables too large to hold.
std::size_t ProfileCount(const TNfgGame& g, TExchangeTokens& tokens, int line) {
  std::size_t count = 1;
  for (const auto& s : g.strategies) {
    if (s.empty()) tokens.Fail(line, "a player has no strategy");
    count *= s.size();
    if (count > 1000000) tokens.Fail(line, "the table has more than a million cells");
  }
  return count;
}

TNfgGame Parse(TExchangeTokens& tokens) {
  TNfgGame g;
  const auto head = tokens.Expect(Kind::Word, "\"NFG\"");
  if (head.text != "NFG") tokens.Fail(head.line, "expected \"NFG\" at the start");
  tokens.ExpectNumber("the version after NFG");
  const auto letter = tokens.Expect(Kind::Word, "the number kind R after the version");
  if (letter.text != "R" && letter.text != "D") tokens.Fail(letter.line, "expected R or D");
  g.title = tokens.Expect(Kind::String, "the title").text;
  tokens.Expect(Kind::Open, "\"{\" before the player names");
  while (tokens.Peek().kind == Kind::String) g.players.push_back(tokens.Next().text);
  tokens.Expect(Kind::Close, "\"}\" after the player names");
  // A table of the game file has a side for each of at least two players.
  if (g.players.size() < 2) tokens.Fail(tokens.Peek().line, "a table needs at least two players");
  const int strategiesLine = tokens.Expect(Kind::Open, "\"{\" before the strategies").line;
  if (tokens.Peek().kind == Kind::Number) {
    while (tokens.Peek().kind == Kind::Number) {
      const auto count = tokens.Next();
      if (count.value < 1 || count.value > 1000 || count.value != static_cast<int>(count.value)) {
        tokens.Fail(count.line, "a strategy count must be a whole number from 1 to 1000");
      }
      std::vector<std::string> names;
      for (int i = 1; i <= static_cast<int>(count.value); ++i) names.push_back(std::to_string(i));
      g.strategies.push_back(names);
    }
  } else {
    while (tokens.Peek().kind == Kind::Open) {
      tokens.Next();
      std::vector<std::string> names;
      while (tokens.Peek().kind == Kind::String) names.push_back(tokens.Next().text);
      tokens.Expect(Kind::Close, "\"}\" after a player's strategy names");
      g.strategies.push_back(names);
    }
  }
  tokens.Expect(Kind::Close, "\"}\" after the strategies");
  if (g.strategies.size() != g.players.size()) {
    tokens.Fail(strategiesLine, "strategies are given for " + std::to_string(g.strategies.size()) +
                                    " players, the game has " + std::to_string(g.players.size()));
  }
  const std::size_t profiles = ProfileCount(g, tokens, strategiesLine);
  if (tokens.Peek().kind == Kind::String) tokens.Next();  // the comment
  const std::size_t n = g.players.size();
  if (tokens.Peek().kind == Kind::Open) {
    tokens.Next();
    std::vector<std::vector<double>> outcomes;
    std::vector<std::vector<std::string>> outcomeTexts;
    while (tokens.Peek().kind == Kind::Open) {
      const int line = tokens.Next().line;
      tokens.Expect(Kind::String, "the outcome's name");
      std::vector<double> pays;
      std::vector<std::string> texts;
      while (tokens.Peek().kind == Kind::Number) {
        const auto pay = tokens.Next();
        pays.push_back(pay.value);
        texts.push_back(pay.text);
      }
      tokens.Expect(Kind::Close, "\"}\" after the outcome's payoffs");
      if (pays.size() != n) {
        tokens.Fail(line, "an outcome has " + std::to_string(pays.size()) + " payoffs, the game " +
                              std::to_string(n) + " players");
      }
      outcomes.push_back(pays);
      outcomeTexts.push_back(texts);
    }
    tokens.Expect(Kind::Close, "\"}\" after the outcomes");
    for (std::size_t p = 0; p < profiles; ++p) {
      const auto number =
          tokens.Expect(Kind::Number, "the outcome of profile " + std::to_string(p + 1));
      const double k = number.value;
      if (k < 0 || k > static_cast<double>(outcomes.size()) || k != static_cast<int>(k)) {
        tokens.Fail(number.line, "outcome " + number.text + " does not exist");
      }
      g.payoffs.push_back(k == 0 ? std::vector<double>(n, 0.0)
                                 : outcomes[static_cast<std::size_t>(k) - 1]);
      for (std::size_t i = 0; k != 0 && i < n; ++i) {
        const std::string& text = outcomeTexts[static_cast<std::size_t>(k) - 1][i];
        if (!IsPlainNumberText(text, g.payoffs.back()[i])) g.texts[p * n + i] = text;
      }
    }
  } else {
    for (std::size_t p = 0; p < profiles; ++p) {
      std::vector<double> pays;
      for (std::size_t i = 0; i < n; ++i) {
        const auto pay = tokens.Expect(Kind::Number, "payoff " + std::to_string(i + 1) +
                                                         " of profile " + std::to_string(p + 1));
        pays.push_back(pay.value);
        if (!IsPlainNumberText(pay.text, pay.value)) g.texts[p * n + i] = pay.text;
      }
      g.payoffs.push_back(pays);
    }
  }
  const auto rest = tokens.Peek();
  if (rest.kind != Kind::End)
    tokens.Fail(rest.line, "unexpected \"" + rest.text + "\" after the payoffs");
  return g;
}

void Build(const TNfgGame& g, TGameType32& game) {
  const std::vector<TPlayer32*> players = AddPlayers(g.players, game);
  auto* table = NewElement<TTable32>(&game);
  std::set<std::string> tableNames;
  table->SetName(FitName(g.title, tableNames, "Table"));
  table->SetPosition(140, 60);
  game.AddObject(table);
  for (std::size_t i = 0; i < players.size(); ++i) {
    std::unique_ptr<TSide32> scratch = MakeScratchSide(nullptr, *table);
    scratch->SetName(players[i]->Name);
    scratch->Player = players[i];
    std::set<std::string> names;
    for (std::size_t s = 0; s < g.strategies[i].size(); ++s) {
      auto* strategy = NewElement<TStrat32>(&game);
      strategy->SetName(FitName(g.strategies[i][s], names, std::to_string(s + 1)));
      strategy->Info = scratch.get();
      scratch->AddChoice(strategy);
    }
    ApplySideEdit(nullptr, *scratch, *table);
  }
  // Each cell's profile number: the first player's strategy changes fastest. Positions come
  // from a map, so a table of a million cells is numbered in one pass.
  std::vector<TSide32*> sides;
  std::unordered_map<const TGameObject32*, std::size_t> positionOf;
  for (std::size_t i = 0; i < players.size(); ++i) {
    sides.push_back(table->SideAt(static_cast<int>(i)));
    std::size_t position = 0;
    sides.back()->Choices.ForEach([&](TGameObject32* s) { positionOf[s] = position++; });
  }
  table->Cells.ForEachAs<TCell32>([&](TCell32* cell) {
    std::size_t profile = 0;
    std::size_t stride = 1;
    for (std::size_t i = 0; i < players.size(); ++i) {
      const std::size_t position = positionOf.at(cell->StrategyOf(sides[i]));
      profile += position * stride;
      stride *= g.strategies[i].size();
    }
    for (std::size_t i = 0; i < players.size(); ++i) {
      auto* payoff = NewElement<TPayoff32>(&game);
      payoff->Move = cell;
      payoff->Player = players[i];
      payoff->Value = g.payoffs[profile][i];
      game.AddObject(payoff);
      if (const auto text = g.texts.find(profile * players.size() + i); text != g.texts.end()) {
        game.ExactNumbers[payoff] = text->second;
      }
    }
  });
  table->Refresh();
  game.SetStatus(StatusSaved);
}
}  // namespace

void ReadNfgText(const std::string& text, const std::string& path, TGameType32& game) {
  TExchangeTokens tokens(text, path);
  Build(Parse(tokens), game);
}

}  // namespace ludomark
