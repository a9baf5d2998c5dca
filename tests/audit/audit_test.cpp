#include "audit/audit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/choice.h"
#include "support/game_builder.h"

namespace ludomark {
namespace {

using testing::GameBuilder;

std::vector<std::string> Findings(TGameType32& game) {
  std::vector<std::string> names;
  game.Findings().ForEach([&](TGameObject32* e) { names.push_back(e->Name); });
  return names;
}

// A root of Ann's with two final moves and payoffs for everyone.
struct Base {
  TGameType32 game;
  GameBuilder b{game};
  TPlayer32* ann = b.Player("Ann");
  TPlayer32* bob = b.Player("Bob");
  TNode32* root = b.Node("R", ann);

  TMove32* Final(const char* name, TNode32* from, double a = 1, double c = 1) {
    TMove32* m = b.Move(name, from, nullptr);
    b.Payoff(m, ann, a);
    b.Payoff(m, bob, c);
    return m;
  }
};

TEST(Audit, EmptyGameFailsWithoutFindings) {
  TGameType32 game;
  EXPECT_FALSE(Audit(game));
  EXPECT_TRUE(Findings(game).empty());
}

TEST(Audit, TwelveMovesPassThirteenDoNot) {
  Base g;
  for (int i = 0; i < 12; ++i) g.Final(std::string(1, static_cast<char>('a' + i)).c_str(), g.root);
  EXPECT_TRUE(Audit(g.game)) << (Findings(g.game).empty() ? "" : Findings(g.game)[0]);
  g.game.ResetDerived();  // as the Audit command does after every audit
  g.Final("m12", g.root);
  EXPECT_FALSE(Audit(g.game));
  EXPECT_EQ(Findings(g.game), (std::vector<std::string>{"Too many moves at R(Ann)"}));
}

TEST(Audit, ChanceProbabilitiesMustBeNonNegativeAndSumToAtMostOne) {
  for (auto [p, q, ok] :
       {std::tuple{0.5, 0.4, true}, std::tuple{0.6, 0.5, false}, std::tuple{-0.6, 0.5, false},
        std::tuple{-0.3, 0.5, false}, std::tuple{0.0, 1.0, true}, std::tuple{1.0, 0.0, true},
        std::tuple{0.0, 0.0, true}}) {
    Base g;
    TNode32* luck = g.b.Node("C", nullptr);
    g.b.Move("in", g.root, luck);
    g.Final("h", luck)->Value = p;
    g.Final("t", luck)->Value = q;
    EXPECT_EQ(Audit(g.game), ok);
    if (!ok) {
      EXPECT_EQ(Findings(g.game),
                (std::vector<std::string>{"Wrong chance probabilities at C(CHANCE)"}));
    }
  }
}

// Flaws that used to pass the audit and end in "No solution found." without a word.
TEST(Audit, FlawsThatWouldLeaveTheSolverWithNothing) {
  Base g;
  TNode32* stuck = g.b.Node("S", g.ann);
  g.b.Move("go", g.root, stuck);
  g.Final("x", g.root);
  g.Final("x", g.root);
  TNode32* a = g.b.Node("A", g.ann);
  TNode32* c = g.b.Node("B", g.bob);
  g.b.Move("l", stuck, a);
  g.b.Move("r", stuck, c);
  g.b.InfoSet("I", {a, c});
  g.Final("k", a);
  g.Final("k", c);
  g.Final("lost", nullptr);
  TTable32* table = g.b.Table("T");
  g.b.Side(table, g.ann, "Rows", {"U"});
  g.b.Move("t", a, table);
  TTable32* other = g.b.Table("U");
  g.b.Side(other, g.ann, "Rows", {"U"});
  auto* empty = NewElement<TSide32>(&g.game);
  empty->SetName("Cols");
  empty->Player = g.bob;
  empty->Table = other;
  other->Sides.Add(empty);
  g.game.AddObject(empty);
  g.b.Move("u", c, other);
  EXPECT_FALSE(Audit(g.game));
  const std::vector<std::string> found = Findings(g.game);
  for (const char* expected :
       {"Duplicate move at x@R(Ann)", "Mixed owners at IA(Ann) B(Bob)", "No origin at lost",
        "Too few sides at T(CHANCE)", "No strategies at Cols(Bob) (Bob)(U)"}) {
    EXPECT_NE(std::find(found.begin(), found.end(), expected), found.end()) << expected;
  }
  TGameType32 lone;
  GameBuilder b(lone);
  b.Node("N", b.Player("Ann"));
  EXPECT_FALSE(Audit(lone));
  EXPECT_EQ(Findings(lone), (std::vector<std::string>{"No move at N(Ann)"}));
}

TEST(Audit, DegreeWithinAnInformationSet) {
  for (bool threeFirst : {false, true}) {
    Base g;
    TNode32* a = g.b.Node("A", g.bob);
    TNode32* c = g.b.Node("B", g.bob);
    g.b.Move("x", g.root, threeFirst ? c : a);
    g.b.Move("y", g.root, threeFirst ? a : c);
    g.b.InfoSet("I", {a, c});
    for (const char* name : {"u", "v"}) g.Final(name, a);
    for (const char* name : {"u", "v", "w"}) g.Final(name, c);
    // The first member in node order sets the degree.
    EXPECT_FALSE(Audit(g.game));
    std::vector<std::string> found = Findings(g.game);
    EXPECT_NE(std::find(found.begin(), found.end(), "Wrong degree at B(Bob)"), found.end());
    EXPECT_EQ(std::find(found.begin(), found.end(), "Wrong degree at A(Bob)"), found.end());
    EXPECT_NE(std::find(found.begin(), found.end(), "Move mismatch at w"), found.end());
  }
}

TEST(Audit, PayoffFindings) {
  Base g;
  TPlayer32* cy = g.b.Player("Cy");
  TMove32* m = g.b.Move("go", g.root, nullptr);
  g.b.Payoff(m, g.ann, 1);
  g.b.Payoff(m, cy, 1);
  g.b.Payoff(nullptr, g.bob, 2.5);
  EXPECT_FALSE(Audit(g.game));
  EXPECT_EQ(Findings(g.game),
            (std::vector<std::string>{"Payoff missing at go@R(Ann)", "Payoff 2.5 is unattached."}));
  // Findings of an earlier audit do not pile up.
  g.game.ResetDerived();
  EXPECT_FALSE(Audit(g.game));
  EXPECT_EQ(Findings(g.game).size(), 2u);

  // Two payoffs to one player are no payoff to the other, whatever their order.
  for (const bool bobFirst : {false, true}) {
    Base twice;
    TMove32* end = twice.b.Move("end", twice.root, nullptr);
    if (bobFirst) twice.b.Payoff(end, twice.bob, 1);
    twice.b.Payoff(end, twice.ann, 1);
    twice.b.Payoff(end, twice.ann, 2);
    EXPECT_EQ(Audit(twice.game), bobFirst);
    if (!bobFirst) {
      EXPECT_EQ(Findings(twice.game), (std::vector<std::string>{"Payoff missing at end@R(Ann)"}));
    }
  }
}

TEST(Audit, MoveNamesMustMatchAcrossTheSet) {
  Base g;
  TNode32* a = g.b.Node("A", g.bob);
  TNode32* c = g.b.Node("B", g.bob);
  g.b.Move("x", g.root, a);
  g.b.Move("y", g.root, c);
  g.b.InfoSet("I", {a, c});
  g.Final("Left", a);
  g.Final("left", c);
  EXPECT_FALSE(Audit(g.game));
  EXPECT_EQ(Findings(g.game),
            (std::vector<std::string>{"Move mismatch at Left", "Move mismatch at left"}));
}

TEST(Audit, ConnectionInEitherDirection) {
  Base g;
  TNode32* reached = g.b.Node("In", g.bob);
  TNode32* leading = g.b.Node("Out", g.bob);
  TNode32* lonely = g.b.Node("Alone", g.bob);
  g.b.Move("a", g.root, reached);
  g.Final("b", reached);
  g.b.Move("c", leading, reached);  // only a move towards the connected part
  g.Final("d", lonely);
  EXPECT_FALSE(Audit(g.game));
  EXPECT_EQ(Findings(g.game), (std::vector<std::string>{"Alone(Bob) is not connected"}));
  EXPECT_EQ(g.game.Root(), g.root);
}

TEST(Audit, PlayMustBeAbleToEndAndDiscountsMustBeFactors) {
  {  // a chance node whose moves all lead back to it
    Base g;
    g.Final("out", g.root);
    TNode32* loop = g.b.Node("Spin", nullptr);
    g.b.Move("in", g.root, loop);
    g.b.Move("h", loop, loop, 0.5);
    g.b.Move("t", loop, loop, 0.5);
    EXPECT_FALSE(Audit(g.game));
    EXPECT_EQ(Findings(g.game), (std::vector<std::string>{"Endless play at Spin(CHANCE)"}));
  }
  for (const double discount : {1.0, 0.9, 0.0}) {  // a cycle that play cannot leave
    Base g;
    g.Final("out", g.root);
    TNode32* a = g.b.Node("A", g.ann);
    TNode32* b = g.b.Node("B", g.bob);
    g.b.Move("in", g.root, a);
    g.b.Move("on", a, b, discount);
    g.b.Move("back", b, a);
    const bool passed = Audit(g.game);
    EXPECT_EQ(passed, discount == 0.9) << discount;
    const std::vector<std::string> expected =
        discount == 1.0
            ? std::vector<std::string>{"Endless play at A(Ann)", "Endless play at B(Bob)"}
        : discount == 0 ? std::vector<std::string>{"Wrong discount at on@A(Ann)"}
                        : std::vector<std::string>{};
    EXPECT_EQ(Findings(g.game), expected) << discount;
  }
  {  // a node no move enters: noted, and the game still passes
    Base g;
    TNode32* a = g.b.Node("A", g.bob);
    TNode32* aside = g.b.Node("Aside", g.bob);
    g.b.Move("in", g.root, a);
    g.Final("out", g.root);
    g.Final("x", a);
    g.Final("y", aside);
    g.b.Move("join", aside, a, 0.5);
    EXPECT_TRUE(Audit(g.game));
    EXPECT_EQ(Findings(g.game),
              (std::vector<std::string>{"Not reached from the start at Aside(Bob)"}));
  }
}

// The root is the first node of the lowest level of the longest paths from every node outside
// a set: a first node that may wait (a move back to itself) stays the root, and an unfinished
// part that no move enters is only noted.
TEST(Audit, TheRootIsTheFirstNodeOfLevelZero) {
  Base g;
  g.b.Move("wait", g.root, g.root, 0.9);
  TNode32* a = g.b.Node("A", g.bob);
  g.b.Move("go", g.root, a);
  g.Final("x", a);
  TNode32* loose = g.b.Node("Loose", g.bob);
  g.Final("y", loose);
  g.b.Move("join", loose, a, 0.5);
  EXPECT_TRUE(Audit(g.game));
  EXPECT_EQ(g.game.Root(), g.root);
  EXPECT_EQ(Findings(g.game),
            (std::vector<std::string>{"Not reached from the start at Loose(Bob)"}));
}

TEST(Audit, DerivesLevelsSetsChoicesAndNumbers) {
  Base g;
  TNode32* a = g.b.Node("A", g.bob);
  TNode32* c = g.b.Node("B", g.bob);
  g.b.Move("x", g.root, a);
  g.b.Move("y", g.root, c);
  g.Final("z", g.root);
  g.b.InfoSet("I", {a, c});
  for (TNode32* n : {a, c}) {
    g.Final("u", n);
    g.Final("v", n);
  }
  ASSERT_TRUE(Audit(g.game));
  EXPECT_EQ(g.root->Level, 0);
  EXPECT_EQ(a->Level, 1);
  EXPECT_TRUE(g.root->Info->Singleton);
  EXPECT_EQ(a->Info->Level, 1);
  // x, y, z at R; u, v at I; and the temporary choices of the artificial node below.
  EXPECT_EQ(g.game.Strategies().LiveCount(), 7);
  EXPECT_EQ(a->Info->Choices.LiveCount(), 2);
  g.game.Strategies().ForEach([](TGameObject32* e) {
    EXPECT_EQ(e->Number, e->Owner->NumberIn(e->Owner->Strategies(), e));
  });
  // Every path from R enters the set or ends: no artificial predecessor is needed... except
  // that "z" ends outside the set, so R fails and so does every other node.
  int artificial = 0;
  g.game.Nodes().ForEach([&](TGameObject32* n) { artificial += n->Temporary ? 1 : 0; });
  EXPECT_EQ(artificial, 1);
  g.game.ResetDerived();
  EXPECT_EQ(g.game.Nodes().LiveCount(), 3);
  EXPECT_EQ(g.game.Strategies().LiveCount(), 0);
}

TEST(Audit, ArtificialPredecessorOnlyWhenNoNodeLeadsIntoTheSet) {
  Base g;
  TNode32* a = g.b.Node("A", g.bob);
  TNode32* c = g.b.Node("B", g.bob);
  g.b.Move("x", g.root, a);
  g.b.Move("y", g.root, c);
  g.b.InfoSet("I", {a, c});
  for (TNode32* n : {a, c}) g.Final("u", n);
  ASSERT_TRUE(Audit(g.game));
  int artificial = 0;
  g.game.Nodes().ForEach([&](TGameObject32* n) { artificial += n->Temporary ? 1 : 0; });
  EXPECT_EQ(artificial, 0);  // R leads into the set on every path
}

TEST(Audit, BoundsEliminateChoicesWorseThanEveryAlternative) {
  for (auto [third, eliminated] : {std::pair{2.5, true}, std::pair{0.5, false}}) {
    Base g;
    // Bob moves after each of Ann's choices, so her payoff lies in an interval.
    struct Range {
      const char* name;
      double low;
      double high;
    };
    for (Range r : {Range{"first", 0, 1}, Range{"second", 2, 3}, Range{"third", third, 4}}) {
      TNode32* after = g.b.Node(std::string("B") + r.name, g.bob);
      g.b.Move(r.name, g.root, after);
      g.Final("lo", after, r.low);
      g.Final("hi", after, r.high);
    }
    ASSERT_TRUE(Audit(g.game));
    TChoice32* first = nullptr;
    g.game.Strategies().ForEach([&](TGameObject32* e) {
      if (e->Name == "first") first = static_cast<TChoice32*>(e);
    });
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Eliminated, eliminated);
    EXPECT_DOUBLE_EQ(first->UpperBound, 1);
    EXPECT_DOUBLE_EQ(first->LowerBound, 0);
    EXPECT_EQ(g.game.BoundBits().LiveCount(), 0);
  }
}

}  // namespace
}  // namespace ludomark
