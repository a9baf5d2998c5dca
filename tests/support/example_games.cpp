#include "support/example_games.h"

#include <functional>
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
  TNode32* deal = b.Node("Deal", nullptr, 300, 40);
  TNode32* high = b.Node("Ann high", ann, 150, 150);
  TNode32* low = b.Node("Ann low", ann, 450, 150);
  TNode32* bobHigh = b.Node("Bob high", bob, 150, 330);
  TNode32* bobLow = b.Node("Bob low", bob, 450, 330);
  b.Move("High", deal, high, 0.5)->SetPosition(220, 95);
  b.Move("Low", deal, low, 0.5)->SetPosition(380, 95);
  b.Move("Bet", high, bobHigh)->SetPosition(150, 270);
  b.Move("Bet", low, bobLow)->SetPosition(450, 270);
  b.InfoSet("After bet", {bobHigh, bobLow});
  auto final = [&](const char* name, TNode32* from, int32_t x, int32_t y, double annGets) {
    TMove32* m = b.Move(name, from, nullptr);
    m->SetPosition(x, y);
    b.Payoff(m, ann, annGets);
    b.Payoff(m, bob, -annGets);
  };
  final("Check", high, 40, 250, 1);
  final("Check", low, 560, 250, -1);
  final("Call", bobHigh, 80, 450, 2);
  final("Fold", bobHigh, 220, 450, 1);
  final("Call", bobLow, 380, 450, -2);
  final("Fold", bobLow, 520, 450, 1);
}

// Ends a move with one payoff per player.
TMove32* FinalMove(GameBuilder& b, const char* name, TNode32* from, int32_t x, int32_t y,
                   const std::vector<TPlayer32*>& players, const std::vector<double>& values) {
  TMove32* m = b.Move(name, from, nullptr);
  m->SetPosition(x, y);
  for (std::size_t i = 0; i < players.size(); ++i) b.Payoff(m, players[i], values[i]);
  return m;
}

// Ann stays out or enters a market where she and Bob set their moves at once; a price war at
// low prices goes to court, where chance decides.
void MarketEntry(TGameType32& game) {
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann", kBlue);
  TPlayer32* bob = b.Player("Bob", kRed);
  const std::vector<TPlayer32*> both{ann, bob};
  TNode32* start = b.Node("Entry", ann, 100, 60);
  TTable32* market = b.Table("Market", 60, 200);
  TNode32* court = b.Node("Court", nullptr, 500, 260);
  FinalMove(b, "Stay out", start, 260, 60, both, {0, 4});
  b.Move("Enter", start, market)->SetPosition(80, 130);
  b.Side(market, ann, "Ann prices", {"Low", "High"});
  b.Side(market, bob, "Bob reacts", {"Fight", "Share"});
  CellOf(market, {"Low", "Fight"})->To = court;
  CellPayoffs(b, market, {"Low", "Share"}, both, {2, 1});
  CellPayoffs(b, market, {"High", "Fight"}, both, {-1, 0});
  CellPayoffs(b, market, {"High", "Share"}, both, {1, 2});
  FinalMove(b, "Win", court, 460, 380, both, {1, 0})->Value = 0.5;
  FinalMove(b, "Lose", court, 560, 380, both, {-3, 1})->Value = 0.5;
}

// Ann proposes; Bob, who sees the proposal, accepts or rejects; Cy sees only that Bob
// accepted, and joins or leaves.
void ThreeWayDeal(TGameType32& game) {
  GameBuilder b(game);
  const std::vector<TPlayer32*> all{b.Player("Ann", kBlue), b.Player("Bob", kRed),
                                    b.Player("Cy", kGreen)};
  TNode32* propose = b.Node("Propose", all[0], 300, 60);
  TNode32* fair = b.Node("Bob fair", all[1], 160, 160);
  TNode32* greedy = b.Node("Bob greedy", all[1], 440, 160);
  TNode32* cyFair = b.Node("Cy fair", all[2], 100, 280);
  TNode32* cyGreedy = b.Node("Cy greedy", all[2], 380, 280);
  b.Move("Fair", propose, fair)->SetPosition(230, 110);
  b.Move("Greedy", propose, greedy)->SetPosition(370, 110);
  b.Move("Accept", fair, cyFair)->SetPosition(130, 220);
  b.Move("Accept", greedy, cyGreedy)->SetPosition(410, 220);
  FinalMove(b, "Reject", fair, 240, 280, all, {0, 0, 1});
  FinalMove(b, "Reject", greedy, 520, 280, all, {0, 0, 1});
  b.InfoSet("Cy sees a deal", {cyFair, cyGreedy});
  FinalMove(b, "Join", cyFair, 60, 400, all, {2, 2, 2});
  FinalMove(b, "Leave", cyFair, 140, 400, all, {1, 3, 0});
  FinalMove(b, "Join", cyGreedy, 340, 400, all, {4, 1, -1});
  FinalMove(b, "Leave", cyGreedy, 420, 400, all, {3, 0, 1});
}

// Ann searches a market that is good or bad by chance; Bob, who cannot tell which, buys or
// waits, and waiting sends Ann searching again, worth less after the wait.
void PatientSearch(TGameType32& game) {
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann", kBlue);
  TPlayer32* bob = b.Player("Bob", kRed);
  const std::vector<TPlayer32*> both{ann, bob};
  TNode32* search = b.Node("Search", ann, 250, 60);
  TNode32* market = b.Node("Market", nullptr, 250, 160);
  TNode32* good = b.Node("Good", bob, 140, 260);
  TNode32* bad = b.Node("Bad", bob, 360, 260);
  FinalMove(b, "Quit", search, 400, 60, both, {0, 0});
  b.Move("Go", search, market)->SetPosition(250, 110);
  b.Move("Good", market, good, 0.4)->SetPosition(190, 210);
  b.Move("Bad", market, bad, 0.6)->SetPosition(310, 210);
  b.InfoSet("Bob offers", {good, bad});
  FinalMove(b, "Buy", good, 100, 380, both, {3, 2});
  FinalMove(b, "Buy", bad, 320, 380, both, {1, -1});
  b.Move("Wait", good, search, 0.9)->SetPosition(120, 160);
  b.Move("Wait", bad, search, 0.9)->SetPosition(380, 160);
}

}  // namespace

// Players nobody placed stand in a column at the left edge, clear of the game and each other.
std::function<void(TGameType32&)> WithPlayersPlaced(void (*build)(TGameType32&)) {
  return [build](TGameType32& game) {
    build(game);
    int32_t y = 30;
    game.Players().ForEach([&](TGameObject32* p) {
      if (p->X == 100 && p->Y == 100) p->SetPosition(30, y);
      y += 45;
    });
  };
}

const std::vector<ExampleGame>& ExampleGames() {
  static const std::vector<ExampleGame> games{
      {"prisoners_dilemma.lmx", WithPlayersPlaced(PrisonersDilemma)},
      {"rock_paper_scissors.lmx", WithPlayersPlaced(RockPaperScissors)},
      {"volunteers_dilemma.lmx", WithPlayersPlaced(Volunteers)},
      {"risky_venture.lmx", WithPlayersPlaced(RiskyVenture)},
      {"hidden_move.lmx", WithPlayersPlaced(HiddenMove)},
      {"discounted_centipede.lmx", WithPlayersPlaced(Centipede)},
      {"matching_pennies.lmx", WithPlayersPlaced(MatchingPennies)},
      {"battle_of_the_sexes.lmx", WithPlayersPlaced(BattleOfTheSexes)},
      {"bluff.lmx", WithPlayersPlaced(Bluff)},
      {"market_entry.lmx", WithPlayersPlaced(MarketEntry)},
      {"three_way_deal.lmx", WithPlayersPlaced(ThreeWayDeal)},
      {"patient_search.lmx", WithPlayersPlaced(PatientSearch)},
  };
  return games;
}

}  // namespace ludomark::testing
