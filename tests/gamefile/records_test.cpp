// The fixed-column record of every element kind, written and read back.
#include <gtest/gtest.h>

#include <memory>

#include "gamefile/game_file.h"
#include "gamefile/record_factory.h"
#include "support/game_builder.h"

namespace ludomark {
namespace {

using testing::CellOf;
using testing::GameBuilder;

// Reads one line into a fresh element of its record type, as the reader does.
std::unique_ptr<TGameObject32> Parse(const std::string& line, TFakeGame* owner) {
  std::unique_ptr<TGameObject32> e(NewElementForRecord(std::stoi(line.substr(40, 8)), owner));
  if (e) e->ParseLine(line);
  return e;
}

TEST(Records, CommonColumnsAndNames) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* p = b.Player("A name of twenty ch", 0);
  p->SetPosition(-15, 1234567);
  const std::string line = p->Describe(kFileLine);
  EXPECT_EQ(line, "A name of twenty-15     1234567 1       201     0               ");
  EXPECT_EQ(line.size(), 64u);
  auto back = Parse(line, &game);
  EXPECT_EQ(back->Name, "A name of twenty");
  EXPECT_EQ(back->X, -15);
  EXPECT_EQ(back->Y, 1234567);
  EXPECT_EQ(back->Number, 1);
  EXPECT_EQ(back->TypeCode, 201);

  // Trailing blanks of a name are not kept; the line has them as padding anyway.
  p->SetName("Ann  ");
  EXPECT_EQ(Parse(p->Describe(kFileLine), &game)->Name, "Ann");
}

TEST(Records, PlayerColoursDefaultByNumberWhenBlack) {
  TGameType32 game;
  GameBuilder b(game);
  for (const char* name : {"P1", "P2", "P3", "P4", "P5"}) b.Player(name, 0);
  const int32_t expected[] = {16711680, 255, 32768, 0, 0};
  for (int i = 0; i < 5; ++i) {
    auto back = Parse(game.Players().Get(i)->Describe(kFileLine), &game);
    EXPECT_EQ(back->Color, expected[i]) << "player " << i + 1;
  }
  TPlayer32* olive = static_cast<TPlayer32*>(game.Players().Get(0));
  olive->Color = 32896;
  EXPECT_EQ(Parse(olive->Describe(kFileLine), &game)->Color, 32896);
  // A line ending before the colour column gives -1, as a blank field does.
  EXPECT_EQ(Parse(olive->Describe(kFileLine).substr(0, 48), &game)->Color, -1);
}

TEST(Records, NodesMovesAndPayoffs) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TNode32* root = b.Node("Root", ann, 10, 20);
  TNode32* leaf = b.Node("Leaf", nullptr, 30, 40);
  TNode32* twin = b.Node("Twin", ann, 50, 60);
  b.Move("to twin", root, twin);
  b.InfoSet("I", {root, twin});
  TMove32* m = b.Move("Third", root, leaf, 1.0 / 3);
  m->SetPosition(7, 8);
  TPayoff32* pay = b.Payoff(m, ann, -2.5);
  pay->SetName("U");

  const std::string node = root->Describe(kFileLine);
  EXPECT_EQ(node.substr(40), "502     1       1       ");
  auto n = Parse(node, &game);
  EXPECT_EQ(static_cast<TNode32*>(n.get())->PlayerNumber, 1);
  EXPECT_EQ(static_cast<TNode32*>(n.get())->InfoNumber, 1);
  EXPECT_EQ(leaf->Describe(kFileLine).substr(48), "0       0       ");

  const std::string move = m->Describe(kFileLine);
  EXPECT_EQ(move.size(), 72u);
  EXPECT_EQ(move.substr(48), "1       2       0.333333");
  auto mv = Parse(move, &game);
  auto* parsed = static_cast<TMove32*>(mv.get());
  EXPECT_EQ(parsed->FromNumber, 1);
  EXPECT_EQ(parsed->ToNumber, 2);
  EXPECT_DOUBLE_EQ(parsed->Value, 0.333333);

  const std::string payoff = pay->Describe(kFileLine);
  EXPECT_EQ(payoff,
            "U               100     100     0       204     2       1       -2.5            ");
  auto pv = Parse(payoff, &game);
  EXPECT_DOUBLE_EQ(static_cast<TPayoff32*>(pv.get())->Value, -2.5);
  pay->Player = nullptr;
  const std::string noPlayer = pay->Describe(kFileLine);
  EXPECT_EQ(noPlayer.substr(48, 16), "2               ");
  EXPECT_EQ(static_cast<TPayoff32*>(Parse(noPlayer, &game).get())->PlayerNumber, -1);

  const std::string info = game.Infos().Get(0)->Describe(kFileLine);
  EXPECT_EQ(info.size(), 48u);
  EXPECT_EQ(info.substr(40), "205     ");
}

TEST(Records, TablesSidesStrategiesCellsAndChoices) {
  TGameType32 game;
  GameBuilder b(game);
  std::vector<TPlayer32*> p{b.Player("A"), b.Player("B"), b.Player("C")};
  TTable32* table = b.Table("T", 0, 0);
  b.Side(table, p[0], "R", {"r1", "r2"});
  b.Side(table, p[1], "K", {"k1"});
  TSide32* third = b.Side(table, p[2], "S", {"s1", "s2"});
  TCell32* cell = CellOf(table, {"r2", "k1", "s2"});

  const std::string line = cell->Describe(kFileLine);
  EXPECT_EQ(line.size(), 104u);
  EXPECT_EQ(line.substr(48, 8), "0       ");
  EXPECT_EQ(line.substr(64, 8), "1       ");
  EXPECT_EQ(line.substr(72), "1       2       3       5       ");
  auto back = Parse(line, &game);
  auto* parsed = static_cast<TCell32*>(back.get());
  EXPECT_EQ(parsed->TableNumber, 1);
  EXPECT_EQ(parsed->StrategySet, (std::vector<int32_t>{2, 3, 5}));

  EXPECT_EQ(third->Describe(kFileLine).substr(40), "403     3       1       ");
  auto side = Parse(third->Describe(kFileLine), &game);
  EXPECT_EQ(static_cast<TSide32*>(side.get())->PlayerNumber, 3);
  EXPECT_EQ(static_cast<TSide32*>(side.get())->TableNumber, 1);
  TStrat32* s2 = third->StrategyAt(1);
  EXPECT_EQ(s2->Describe(kFileLine).substr(32), "5       304     3       ");
  EXPECT_EQ(static_cast<TStrat32*>(Parse(s2->Describe(kFileLine), &game).get())->SideNumber, 3);
  EXPECT_EQ(table->Describe(kFileLine).substr(40), "503     0       0       ");

  // Derived choices are written but never read back.
  auto* choice = NewElement<TChoice32>(&game);
  choice->SetName("Left");
  game.Strategies().Add(choice);
  const std::string choiceLine = choice->Describe(kFileLine);
  EXPECT_EQ(choiceLine.size(), 48u);
  EXPECT_EQ(choiceLine.substr(40), "303     ");
  EXPECT_EQ(Parse(choiceLine, &game), nullptr);
}

TEST(Records, CellsReadStrategiesUntilABlankField) {
  TGameType32 game;
  const std::string base =
      "                0       0       1       504     0       0       1       1       ";
  auto cell = Parse(base + "3       0       75      x", &game);
  EXPECT_EQ(static_cast<TCell32*>(cell.get())->StrategySet, (std::vector<int32_t>{3, 75}));
  cell = Parse(base + "4               9", &game);
  EXPECT_EQ(static_cast<TCell32*>(cell.get())->StrategySet, (std::vector<int32_t>{4}));
}

}  // namespace
}  // namespace ludomark
