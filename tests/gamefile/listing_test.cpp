#include "gamefile/listing.h"

#include <gtest/gtest.h>

#include "support/game_builder.h"

namespace ludomark {
namespace {

using testing::GameBuilder;

TEST(Listing, SolvableListsEveryKindUnderItsHeading) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TPlayer32* bob = b.Player("Bob");
  TNode32* c = b.Node("C", nullptr);
  TNode32* n1 = b.Node("N1", ann);
  TNode32* n2 = b.Node("N2", ann);
  TMove32* l = b.Move("L", n1, nullptr);
  b.Move("x", c, n1, 0.5);
  b.Move("y", c, n2, 0.5);
  b.InfoSet("I", {n1, n2});
  b.Payoff(l, ann, 2.5)->SetName("U");
  TTable32* table = b.Table("T");
  b.Side(table, ann, "Rows", {"Up"});
  b.Side(table, bob, "Cols", {"Left"});
  static_cast<TInfo32*>(game.Infos().Get(0))->ArtificialNode();  // temporary: not listed

  const std::vector<std::string> expected = {
      "GAME IS SOLVABLE",
      "PLAYERS",
      "Ann",
      "Bob",
      "INFORMATION SETS",
      "IN1(Ann) N2(Ann) ",
      "Rows(Ann)(T)",
      "Cols(Bob)(T)",
      "NODES AND TABLES",
      "C(CHANCE)",
      "N1(Ann)",
      "N2(Ann)",
      "T(CHANCE)",
      "MOVES AND CELLS",
      "L@N1(Ann)",
      "x@C(CHANCE)",
      "y@C(CHANCE)",
      "Up Left ",
      "CHOICES AND STRATEGIES",
      "Up@Rows",
      "Left@Cols",
      "PAYOFFS",
      "U2.5 @L@N1(Ann) for Ann",
  };
  EXPECT_EQ(BuildListing(game, kSolvableListMode), expected);
}

TEST(Listing, FindingsLogAndSolutionAudit) {
  TGameType32 game;
  game.ReportFinding("Payoff 2.5 is unattached.");
  EXPECT_EQ(BuildListing(game, kFlawedListMode),
            (std::vector<std::string>{"GAME IS FLAWED", "Payoff 2.5 is unattached."}));
  auto* entry = NewElement<TBug>(&game);
  entry->ParseLine("  a log line kept as it is   ");
  game.SolverLog().Add(entry);
  EXPECT_EQ(BuildListing(game, kSolverStepsMode),
            (std::vector<std::string>{"LIST SOLUTION STEPS", "  a log line kept as it is   "}));
  EXPECT_EQ(BuildListing(game, kAuditSolutionMode), (std::vector<std::string>{"AUDIT SOLUTION"}));
  TGameList entries(/*owning=*/true);
  auto* audit = NewElement<TBug>(&game);
  audit->SetName("checked");
  entries.Add(audit);
  EXPECT_EQ(BuildListing(game, kAuditSolutionMode, &entries),
            (std::vector<std::string>{"AUDIT SOLUTION", "checked"}));
}

TEST(Listing, TextsOfSidesAndPayoffsWithoutLinks) {
  TGameType32 game;
  GameBuilder b(game);
  TNode32* a = b.Node("A", b.Player("Ann"));
  auto* side = NewElement<TSide32>(&game);
  side->SetName("S");
  game.AddObject(side);
  side->Members.Add(a);
  EXPECT_EQ(side->Describe(2), "SA(Ann) (CHANCE)(No Table)");
  TPayoff32* p = b.Payoff(nullptr, nullptr, 3);
  p->SetName("V");
  EXPECT_EQ(p->Describe(7), "V3 ");
  side->Members.Clear();
}

}  // namespace
}  // namespace ludomark
