#include <gtest/gtest.h>

#include <string>

#include "model/choice.h"
#include "model/random.h"
#include "model/settings.h"
#include "support/game_builder.h"

namespace ludomark {
namespace {

using testing::GameBuilder;

TEST(Info, RelinkCollectsMembersInNodeOrderAndFlagsUnreachableOnes) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TNode32* root = b.Node("R", nullptr);
  TNode32* a = b.Node("A", ann);
  TNode32* c = b.Node("B", ann);
  b.Move("x", root, c);
  TInfo32* info = b.InfoSet("I", {c, a});
  EXPECT_FALSE(info->Relink());  // A has no incoming move
  EXPECT_EQ(info->FirstMember(), a);
  EXPECT_EQ(info->Player.get(), ann);
  EXPECT_FALSE(info->Singleton);
  EXPECT_EQ(info->Describe(2), "IA(Ann) B(Ann) ");
  b.Move("y", root, a);
  EXPECT_TRUE(info->Relink());
  EXPECT_EQ(info->MoveCount(), 0);
}

TEST(Info, EmptySetKeepsItsPlayerAndIsAnonymous) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TInfo32* info = b.InfoSet("I", {});
  info->Player = ann;
  EXPECT_TRUE(info->Relink());
  EXPECT_EQ(info->Player.get(), ann);
  EXPECT_TRUE(info->Singleton);
  EXPECT_EQ(info->FirstMemberName(), "Anonymous");
  EXPECT_EQ(info->MoveCount(), 0);
}

TEST(Info, SubsetsInBinaryCountingOrder) {
  TGameType32 game;
  TInfo32* info = NewElement<TInfo32>(&game);
  game.AddObject(info);
  for (const char* n : {"a", "b", "c"}) {
    auto* choice = NewElement<TChoice32>(&game);
    choice->SetName(n);
    game.Strategies().Add(choice);
    info->AddChoice(choice);
  }
  EXPECT_EQ(info->ChoiceMask, 7u);
  std::vector<std::string> subsets;
  while (info->NextSubset(3)) {
    std::string s;
    info->Choices.ForEach([&](TGameObject32* e) {
      if (e->Mark) s += e->Name;
    });
    subsets.push_back(s);
  }
  EXPECT_EQ(subsets, (std::vector<std::string>{"a", "b", "ab", "c", "ac", "bc", "abc"}));
  EXPECT_FALSE(info->NextSubset(0));
  info->SetMarks(/*flag=*/false, 2);
  int marked = 0;
  info->Choices.ForEach([&](TGameObject32* e) { marked += e->Mark ? 1 : 0; });
  EXPECT_EQ(marked, 1);
}

TEST(Info, FindBestKeepsTheFirstOfEqualValues) {
  TGameType32 game;
  TInfo32* info = NewElement<TInfo32>(&game);
  game.AddObject(info);
  std::vector<TChoice32*> choices;
  for (double v : {1.0, 3.0, 3.0}) {
    auto* choice = NewElement<TChoice32>(&game);
    choice->Expected = v;
    game.Strategies().Add(choice);
    info->AddChoice(choice);
    choices.push_back(choice);
  }
  info->FindBest();
  EXPECT_EQ(info->Best.get(), choices[1]);
  EXPECT_EQ(info->BestValue, 3.0);
  for (TChoice32* c : choices) c->Expected = -2e150;
  info->FindBest();
  EXPECT_EQ(info->Best.get(), nullptr);
  EXPECT_EQ(info->BestValue, -1e150);
}

TEST(Info, DeletingASetFreesItsMembersAndInRectNeedsTwo) {
  TGameType32 game;
  GameBuilder b(game);
  TNode32* a = b.Node("A", nullptr, 10, 10);
  TNode32* c = b.Node("B", nullptr, 200, 200);
  TInfo32* info = b.InfoSet("I", {a, c});
  EXPECT_FALSE(info->InRect(TRect{0, 0, 100, 100}));
  EXPECT_TRUE(info->InRect(TRect{0, 0, 300, 300}));
  game.Infos().FreeElementOf(info);
  EXPECT_EQ(a->Info.get(), nullptr);
  EXPECT_EQ(c->Info.get(), nullptr);
}

TEST(Info, ArtificialNodeLeadsToEveryMember) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TNode32* a = b.Node("A", ann, 100, 100);
  TNode32* c = b.Node("B", ann, 300, 100);
  a->Level = 3;
  c->Level = 5;
  TInfo32* info = b.InfoSet("I", {a, c});
  DebugMode = true;
  SharedRandom().Seed(7);
  TNode32* art = info->ArtificialNode();
  DebugMode = false;
  EXPECT_TRUE(art->Temporary);
  EXPECT_EQ(art->Name, "ArtA");
  EXPECT_EQ(art->Level, 4);
  EXPECT_EQ(art->Player.get(), ann);
  EXPECT_GE(art->X, 0);
  EXPECT_LT(art->X, 1000);
  EXPECT_EQ(game.Nodes().Last(), art);
  ASSERT_EQ(game.Moves().LiveCount(), 2);
  auto* toB = static_cast<TMove32*>(game.Moves().Get(1));
  EXPECT_EQ(toB->Name, "To B");
  EXPECT_EQ(toB->From.get(), art);
  EXPECT_EQ(toB->To.get(), c);
  EXPECT_EQ(toB->Value, 1e-12);
  EXPECT_TRUE(toB->Temporary);
  EXPECT_EQ(toB->X, 200);  // midway between (100, 100) and the member at (300, 100)
}

TEST(Random, SeededSequencesRepeatAndStayInRange) {
  TUniformRandom r(1);
  const double first = r.Next();
  for (int i = 0; i < 10000; ++i) {
    const double v = r.Next();
    ASSERT_GE(v, 0.0);
    ASSERT_LT(v, 1.0);
  }
  r.Seed(1);
  EXPECT_EQ(r.Next(), first);
}

}  // namespace
}  // namespace ludomark
