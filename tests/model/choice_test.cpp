#include "model/choice.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "model/profile_base.h"
#include "support/game_builder.h"

namespace ludomark {
namespace {

using testing::GameBuilder;

TEST(Choice, MovesOfOneNameAtOneSetShareAChoice) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TNode32* root = b.Node("R", nullptr);
  TNode32* a = b.Node("A", ann);
  TNode32* c = b.Node("B", ann);
  b.Move("x", root, a, 0.5);
  b.Move("y", root, c, 0.5);
  TInfo32* info = b.InfoSet("I", {a, c});
  root->EnsureInfo();
  TMove32* left1 = b.Move("Left", a, nullptr);
  TMove32* lower = b.Move("left", a, nullptr);
  TMove32* left2 = b.Move("Left", c, nullptr);
  game.Moves().ForEach([](TGameObject32* m) { ChoiceForMove(*static_cast<TMove32*>(m)); });
  EXPECT_EQ(left1->Choice.get(), left2->Choice.get());
  EXPECT_NE(left1->Choice.get(), lower->Choice.get());
  EXPECT_EQ(left1->Choice->ChoiceMoves.LiveCount(), 2);
  EXPECT_EQ(info->Choices.LiveCount(), 2);
  EXPECT_EQ(info->ChoiceMask, 3u);
  // Chance choices get probability 1; choices appear in the order of their first moves.
  auto* x = static_cast<TMove32*>(game.Moves().Get(0));
  x->Choice->SetProbability(0.3);
  x->AttachChoice();
  EXPECT_EQ(x->Choice->Probability, 1.0);
  EXPECT_EQ(game.Strategies().PositionOf(x->Choice.get()), 1);
  EXPECT_EQ(x->Choice->Renumber(), 1);
  // Attaching again does not list a move twice.
  left1->AttachChoice();
  EXPECT_EQ(left1->Choice->ChoiceMoves.LiveCount(), 2);
}

TEST(Choice, ProbabilityIsClamped) {
  TChoice32 c;
  c.InitDefaults();
  EXPECT_EQ(c.Probability, 1.0);
  EXPECT_EQ(c.CopyLink.get(), &c);
  c.SetProbability(1.5);
  EXPECT_EQ(c.Probability, 1.0);
  c.SetProbability(-0.2);
  EXPECT_EQ(c.Probability, 0.0);
  c.SetProbability(0.25);
  EXPECT_EQ(c.Probability, 0.25);
}

struct Fixture {
  TGameType32 game;
  TPlayer32* ann;
  TInfo32* info;
  std::vector<TChoice32*> choices;

  explicit Fixture(int count) {
    GameBuilder b(game);
    ann = b.Player("Ann");
    info = NewElement<TInfo32>(&game);
    info->Player = ann;
    game.AddObject(info);
    for (int i = 0; i < count; ++i) {
      auto* c = NewElement<TChoice32>(&game);
      c->Info = info;
      game.Strategies().Add(c);
      info->AddChoice(c);
      choices.push_back(c);
    }
  }
};

TEST(Choice, DominanceAgainstEveryLiveAlternative) {
  Fixture f(3);
  auto& c = f.choices;
  c[0]->MaxExpected = 3;
  c[1]->MinExpected = 3.5;
  c[2]->MinExpected = 5;
  EXPECT_TRUE(c[0]->IsDominated());
  c[1]->MinExpected = 2.9;
  EXPECT_FALSE(c[0]->IsDominated());
  c[1]->MinExpected = 3;  // inside the 1e-8 margin
  EXPECT_FALSE(c[0]->IsDominated());
  c[1]->Eliminated = true;  // eliminated alternatives do not count
  EXPECT_TRUE(c[0]->IsDominated());
  c[2]->Eliminated = true;
  EXPECT_FALSE(c[0]->IsDominated());  // the only live choice
  c[2]->Eliminated = false;
  c[0]->Temporary = true;
  EXPECT_FALSE(c[0]->IsDominated());
  c[0]->Temporary = false;
  c[0]->Eliminated = true;
  EXPECT_TRUE(c[0]->IsDominated());
  f.info->Player = nullptr;
  EXPECT_FALSE(c[0]->IsDominated());
}

// A stored profile: the choice numbers it uses and the value at each set.
class FakeProfile : public TProfileBase {
 public:
  FakeProfile(std::set<int> used, std::map<int, double> values)
      : used_(std::move(used)), values_(std::move(values)) {}
  bool Uses(int n) const override { return used_.count(n) > 0; }
  double InfoValue(int n) const override { return values_.count(n) ? values_.at(n) : 0; }

 private:
  std::set<int> used_;
  std::map<int, double> values_;
};

TEST(Choice, RangeOverTheProfilesAgreeingWithTheMarkedSupports) {
  Fixture f(2);
  auto* other = NewElement<TInfo32>(&f.game);
  other->Player = f.ann;
  f.game.AddObject(other);
  auto* d = NewElement<TChoice32>(&f.game);
  d->Info = other;
  f.game.Strategies().Add(d);
  other->AddChoice(d);
  f.game.Renumber();  // choices 1, 2 at set 1; d is choice 3 at set 2

  TGameList profiles(/*owning=*/true);
  profiles.Add(new FakeProfile({1, 3}, {{1, 4.0}}));
  profiles.Add(new FakeProfile({1}, {{1, -2.0}}));
  profiles.Add(new FakeProfile({2, 3}, {{1, 9.0}}));
  TChoice32* c = f.choices[0];
  c->UpdateRange(profiles);
  EXPECT_EQ(c->MaxExpected, 4.0);
  EXPECT_EQ(c->MinExpected, -2.0);

  // With the other set fixed on the path and d outside the support, the first profile drops.
  other->Mark = true;
  d->Mark = false;
  c->UpdateRange(profiles);
  EXPECT_EQ(c->MaxExpected, -2.0);
  EXPECT_EQ(c->MinExpected, -2.0);

  c->Eliminated = true;
  c->UpdateRange(profiles);
  EXPECT_EQ(c->MaxExpected, -1e150);
  EXPECT_EQ(c->MinExpected, 1e150);
}

TEST(Choice, BoundsFromMovesOnceAllAreKnown) {
  Fixture f(1);
  GameBuilder b(f.game);
  TNode32* n = b.Node("N", f.ann);
  TMove32* m1 = b.Move("a", n, nullptr);
  TMove32* m2 = b.Move("a", n, nullptr);
  TChoice32* c = f.choices[0];
  c->AddMove(m1);
  c->AddMove(m2);
  m1->SetSettled(/*value=*/true);
  m1->UpperBound = 2;
  m1->LowerBound = 1;
  c->BoundsFromMoves();
  EXPECT_FALSE(c->Done);
  m2->Done = true;
  m2->UpperBound = 5;
  m2->LowerBound = -1;
  c->BoundsFromMoves();
  EXPECT_TRUE(c->Done);
  EXPECT_EQ(c->UpperBound, 5);
  EXPECT_EQ(c->LowerBound, -1);
}

}  // namespace
}  // namespace ludomark
