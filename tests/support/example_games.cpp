#include "support/example_games.h"

#include <tuple>

#include "model/colors.h"
#include "support/game_builder.h"

namespace ludomark::testing {

namespace {

// Sets one payoff per player on the cell of the named strategies.
void CellPayoffs(GameBuilder& b, TTable32* table, std::initializer_list<std::string> strategies,
                 const std::vector<TPlayer32*>& players, const std::vector<double>& values) {
  TCell32* cell = CellOf(table, strategies);
  for (std::size_t i = 0; i < players.size(); ++i) b.Payoff(cell, players[i], values[i]);
}

void PrisonersDilemma(TGameType32& game) {
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann", kBlue);
  TPlayer32* bob = b.Player("Bob", kRed);
  ann->SetPosition(40, 40);
  bob->SetPosition(40, 80);
  TTable32* table = b.Table("Dilemma", 100, 100);
  b.Side(table, ann, "Ann moves", {"Cooperate", "Defect"});
  b.Side(table, bob, "Bob moves", {"Cooperate", "Defect"});
  const std::vector<TPlayer32*> both{ann, bob};
  CellPayoffs(b, table, {"Cooperate", "Cooperate"}, both, {3, 3});
  CellPayoffs(b, table, {"Cooperate", "Defect"}, both, {0, 5});
  CellPayoffs(b, table, {"Defect", "Cooperate"}, both, {5, 0});
  CellPayoffs(b, table, {"Defect", "Defect"}, both, {1, 1});
}

void RockPaperScissors(TGameType32& game) {
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann", kBlue);
  TPlayer32* bob = b.Player("Bob", kRed);
  TTable32* table = b.Table("Hands", 100, 100);
  const std::vector<std::string> hands{"Rock", "Paper", "Scissors"};
  b.Side(table, ann, "Ann plays", {"Rock", "Paper", "Scissors"});
  b.Side(table, bob, "Bob plays", {"Rock", "Paper", "Scissors"});
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      // Paper beats rock, scissors beat paper, rock beats scissors.
      const int outcome = (i - j + 3) % 3;
      const double annGets = outcome == 0 ? 0 : (outcome == 1 ? 1 : -1);
      CellPayoffs(b, table, {hands[i], hands[j]}, {ann, bob}, {annGets, -annGets});
    }
  }
}

void Volunteers(TGameType32& game) {
  GameBuilder b(game);
  std::vector<TPlayer32*> players{b.Player("Ann", kBlue), b.Player("Bob", kRed),
                                  b.Player("Cy", kGreen)};
  TTable32* table = b.Table("Volunteer", 100, 100);
  b.Side(table, players[0], "Ann", {"Help", "Ignore"});
  b.Side(table, players[1], "Bob", {"Help", "Ignore"});
  b.Side(table, players[2], "Cy", {"Help", "Ignore"});
  // Everyone gains 2 once somebody helps; helping costs the helper 1.
  for (int mask = 0; mask < 8; ++mask) {
    const bool helps[3] = {(mask & 4) == 0, (mask & 2) == 0, (mask & 1) == 0};
    const bool helped = helps[0] || helps[1] || helps[2];
    std::vector<double> values;
    for (bool h : helps) values.push_back((helped ? 2 : 0) - (h ? 1 : 0));
    CellPayoffs(
        b, table,
        {helps[0] ? "Help" : "Ignore", helps[1] ? "Help" : "Ignore", helps[2] ? "Help" : "Ignore"},
        players, values);
  }
}

void RiskyVenture(TGameType32& game) {
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann", kBlue);
  TPlayer32* bob = b.Player("Bob", kRed);
  TNode32* start = b.Node("Start", ann, 200, 60);
  TNode32* luck = b.Node("Luck", nullptr, 300, 160);
  TNode32* offer = b.Node("Offer", bob, 220, 260);
  TMove32* safe = b.Move("Safe", start, nullptr);
  safe->SetPosition(100, 160);
  b.Move("Risky", start, luck)->SetPosition(250, 110);
  TMove32* boom = b.Move("Boom", luck, offer, 0.6);
  boom->SetPosition(260, 210);
  TMove32* bust = b.Move("Bust", luck, nullptr, 0.4);
  bust->SetPosition(400, 260);
  TMove32* accept = b.Move("Accept", offer, nullptr);
  accept->SetPosition(160, 360);
  TMove32* reject = b.Move("Reject", offer, nullptr);
  reject->SetPosition(280, 360);
  for (auto [move, a, c] : {std::tuple{safe, 1.0, 1.0}, std::tuple{bust, -1.0, 0.0},
                            std::tuple{accept, 3.0, 1.0}, std::tuple{reject, 0.0, 2.0}}) {
    b.Payoff(move, ann, a);
    b.Payoff(move, bob, c);
  }
}

void HiddenMove(TGameType32& game) {
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann", kBlue);
  TPlayer32* bob = b.Player("Bob", kRed);
  TNode32* root = b.Node("Root", ann, 200, 60);
  TNode32* afterLeft = b.Node("B1", bob, 120, 180);
  TNode32* afterRight = b.Node("B2", bob, 280, 180);
  b.Move("Left", root, afterLeft)->SetPosition(160, 120);
  b.Move("Right", root, afterRight)->SetPosition(240, 120);
  b.InfoSet("Guess", {afterLeft, afterRight});
  const double payoffs[2][2][2] = {{{2, 1}, {0, 0}}, {{0, 0}, {1, 2}}};
  TNode32* nodes[2] = {afterLeft, afterRight};
  for (int n = 0; n < 2; ++n) {
    for (int m = 0; m < 2; ++m) {
      TMove32* move = b.Move(m == 0 ? "Up" : "Down", nodes[n], nullptr);
      move->SetPosition(nodes[n]->X - 40 + 80 * m, 300);
      b.Payoff(move, ann, payoffs[n][m][0]);
      b.Payoff(move, bob, payoffs[n][m][1]);
    }
  }
}

void Centipede(TGameType32& game) {
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann", kBlue);
  TPlayer32* bob = b.Player("Bob", kRed);
  TNode32* a = b.Node("Ann turn", ann, 100, 100);
  TNode32* c = b.Node("Bob turn", bob, 300, 100);
  TMove32* annTakes = b.Move("Take", a, nullptr);
  annTakes->SetPosition(100, 220);
  b.Move("Pass", a, c)->SetPosition(200, 80);
  TMove32* bobTakes = b.Move("Take", c, nullptr);
  bobTakes->SetPosition(300, 220);
  // Passing again starts over, worth less after the wait.
  b.Move("Pass", c, a, 0.9)->SetPosition(200, 160);
  b.Payoff(annTakes, ann, 2);
  b.Payoff(annTakes, bob, 0);
  b.Payoff(bobTakes, ann, 0);
  b.Payoff(bobTakes, bob, 3);
}

void TwoByTwo(TGameType32& game, const char* name, std::initializer_list<std::string> rows,
              std::initializer_list<std::string> cols, const double (&pay)[2][2][2]) {
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann", kBlue);
  TPlayer32* bob = b.Player("Bob", kRed);
  TTable32* table = b.Table(name, 100, 100);
  b.Side(table, ann, "Ann plays", rows);
  b.Side(table, bob, "Bob plays", cols);
  const std::vector<std::string> r(rows);
  const std::vector<std::string> c(cols);
  for (int i = 0; i < 2; ++i) {
    for (int j = 0; j < 2; ++j) {
      CellPayoffs(b, table, {r[i], c[j]}, {ann, bob}, {pay[i][j][0], pay[i][j][1]});
    }
  }
}

void MatchingPennies(TGameType32& game) {
  const double pay[2][2][2] = {{{1, -1}, {-1, 1}}, {{-1, 1}, {1, -1}}};
  TwoByTwo(game, "Pennies", {"Heads", "Tails"}, {"heads", "tails"}, pay);
}

void BattleOfTheSexes(TGameType32& game) {
  const double pay[2][2][2] = {{{2, 1}, {0, 0}}, {{0, 0}, {1, 2}}};
  TwoByTwo(game, "Evening", {"Opera", "Football"}, {"opera", "football"}, pay);
}

// One card to Ann, high or low; she bets or checks; Bob, who sees only the bet, calls or folds.
void Bluff(TGameType32& game) {
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann", kBlue);
  TPlayer32* bob = b.Player("Bob", kRed);
  TNode32* deal = b.Node("Deal", nullptr, 250, 40);
  TNode32* high = b.Node("Ann high", ann, 120, 140);
  TNode32* low = b.Node("Ann low", ann, 380, 140);
  TNode32* bobHigh = b.Node("Bob high", bob, 120, 260);
  TNode32* bobLow = b.Node("Bob low", bob, 380, 260);
  b.Move("High", deal, high, 0.5)->SetPosition(180, 90);
  b.Move("Low", deal, low, 0.5)->SetPosition(320, 90);
  b.Move("Bet", high, bobHigh)->SetPosition(120, 200);
  b.Move("Bet", low, bobLow)->SetPosition(380, 200);
  b.InfoSet("After bet", {bobHigh, bobLow});
  auto final = [&](const char* name, TNode32* from, int32_t x, int32_t y, double annGets) {
    TMove32* m = b.Move(name, from, nullptr);
    m->SetPosition(x, y);
    b.Payoff(m, ann, annGets);
    b.Payoff(m, bob, -annGets);
  };
  final("Check", high, 40, 200, 1);
  final("Check", low, 460, 200, -1);
  final("Call", bobHigh, 80, 360, 2);
  final("Fold", bobHigh, 160, 360, 1);
  final("Call", bobLow, 340, 360, -2);
  final("Fold", bobLow, 420, 360, 1);
}

}  // namespace

const std::vector<ExampleGame>& ExampleGames() {
  static const std::vector<ExampleGame> games{
      {"prisoners_dilemma.lmx", PrisonersDilemma},
      {"rock_paper_scissors.lmx", RockPaperScissors},
      {"volunteers_dilemma.lmx", Volunteers},
      {"risky_venture.lmx", RiskyVenture},
      {"hidden_move.lmx", HiddenMove},
      {"discounted_centipede.lmx", Centipede},
      {"matching_pennies.lmx", MatchingPennies},
      {"battle_of_the_sexes.lmx", BattleOfTheSexes},
      {"bluff.lmx", Bluff},
  };
  return games;
}

}  // namespace ludomark::testing
