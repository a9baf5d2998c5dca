// The classic games come out with the equilibria they are known for.
#include <gtest/gtest.h>

#include <cmath>

#include "model/solution.h"
#include "solver/found_point.h"
#include "support/solving.h"

namespace ludomark {
namespace {

using namespace testing;

TSolution32* Nth(TGameType32& game, int i) {
  return static_cast<TSolution32*>(game.Solutions().Get(i));
}

constexpr double kTol = 1e-6;

TEST(SolveExamples, MatchingPenniesHasOneMixedEquilibrium) {
  TGameType32 game;
  ASSERT_TRUE(SolveExample("matching_pennies.lmx", 2, game));
  ASSERT_EQ(SolutionNames(game), (std::vector<std::string>{"M 1.1"}));
  TSolution32& s = *Nth(game, 0);
  for (auto [c, side] : {std::pair{"Heads", "Ann plays"}, std::pair{"tails", "Bob plays"}}) {
    EXPECT_NEAR(ChoiceIn(game, s, c, side).Probability, 0.5, kTol);
    EXPECT_TRUE(ChoiceIn(game, s, c, side).Best);
  }
  EXPECT_NEAR(NodeValueIn(game, s, "Pennies", "Ann"), 0, kTol);
  EXPECT_EQ(game.Status(), StatusSolved);
  // Pure only: nothing.
  TGameType32 pure;
  RecordingObserver view;
  ASSERT_TRUE(SolveExample("matching_pennies.lmx", 1, pure, &view));
  EXPECT_EQ(pure.Solutions().LiveCount(), 0);
  EXPECT_EQ(pure.Status(), StatusSaved);
  EXPECT_TRUE(view.Hidden);
  EXPECT_EQ(view.Messages, (std::vector<std::string>{"No solution found."}));
}

TEST(SolveExamples, BattleOfTheSexesHasTwoPureAndOneMixed) {
  TGameType32 game;
  RecordingObserver view;
  ASSERT_TRUE(SolveExample("battle_of_the_sexes.lmx", 2, game, &view));
  ASSERT_EQ(SolutionNames(game), (std::vector<std::string>{"P 1.1", "P 2.1", "M 3.1"}));
  EXPECT_EQ(ChoiceIn(game, *Nth(game, 0), "Opera", "Ann plays").Probability, 1);
  EXPECT_EQ(ChoiceIn(game, *Nth(game, 0), "opera", "Bob plays").Probability, 1);
  EXPECT_EQ(NodeValueIn(game, *Nth(game, 0), "Evening", "Ann"), 2);
  EXPECT_EQ(ChoiceIn(game, *Nth(game, 1), "Football", "Ann plays").Probability, 1);
  TSolution32& mixed = *Nth(game, 2);
  EXPECT_EQ(mixed.Kind, 2);
  EXPECT_NEAR(ChoiceIn(game, mixed, "Opera", "Ann plays").Probability, 2.0 / 3, kTol);
  EXPECT_NEAR(ChoiceIn(game, mixed, "opera", "Bob plays").Probability, 1.0 / 3, kTol);
  EXPECT_NEAR(ChoiceIn(game, mixed, "opera", "Bob plays").Expected, 2.0 / 3, kTol);
  EXPECT_NEAR(NodeValueIn(game, mixed, "Evening", "Bob"), 2.0 / 3, kTol);
  EXPECT_EQ(view.Captions,
            (std::vector<std::string>{"running: Solving for mixed equilibria", "Profiling...",
                                      "Eliminating...", "Exploring...", "Organizing...",
                                      "Cleaning up...", "Solved"}));
  EXPECT_EQ(view.Percent, "100.00%");
  EXPECT_EQ(view.Bar, TSolveRun::kBarMaximum);

  TGameType32 pure;
  RecordingObserver pureView;
  ASSERT_TRUE(SolveExample("battle_of_the_sexes.lmx", 1, pure, &pureView));
  EXPECT_EQ(SolutionNames(pure), (std::vector<std::string>{"P 1.1", "P 2.1"}));
  EXPECT_EQ(pureView.Captions,
            (std::vector<std::string>{"running: Solving for pure equilibria", "Profiling...",
                                      "Organizing...", "Cleaning up...", "Solved"}));
}

TEST(SolveExamples, RockPaperScissorsIsFullyMixed) {
  TGameType32 game;
  ASSERT_TRUE(SolveExample("rock_paper_scissors.lmx", 2, game));
  ASSERT_EQ(SolutionNames(game), (std::vector<std::string>{"M 1.1"}));
  for (const char* hand : {"Rock", "Paper", "Scissors"}) {
    EXPECT_NEAR(ChoiceIn(game, *Nth(game, 0), hand, "Ann plays").Probability, 1.0 / 3, kTol);
    EXPECT_NEAR(ChoiceIn(game, *Nth(game, 0), hand, "Bob plays").Probability, 1.0 / 3, kTol);
  }
}

TEST(SolveExamples, VolunteersDilemmaForThree) {
  TGameType32 game;
  ASSERT_TRUE(SolveExample("volunteers_dilemma.lmx", 2, game));
  int pure = 0;
  int symmetric = 0;
  int pairs = 0;
  game.Solutions().ForEach([&](TGameObject32* e) {
    auto* s = static_cast<TSolution32*>(e);
    double help[3];
    int i = 0;
    for (const char* side : {"Ann", "Bob", "Cy"})
      help[i++] = ChoiceIn(game, *s, "Help", side).Probability;
    if (s->Kind == kFoundPure) {
      ++pure;
      EXPECT_NEAR(help[0] + help[1] + help[2], 1, kTol);  // exactly one helps
    } else if (std::fabs(help[0] - help[1]) < kTol && std::fabs(help[1] - help[2]) < kTol) {
      ++symmetric;
      EXPECT_NEAR(help[0], 1 - std::sqrt(0.5), kTol);  // each ignores with probability 1/sqrt 2
    } else {
      ++pairs;  // one ignores, the other two help half of the time
      EXPECT_NEAR(help[0] + help[1] + help[2], 1, kTol);
    }
  });
  EXPECT_EQ(pure, 3);
  EXPECT_EQ(symmetric, 1);
  EXPECT_EQ(pairs, 3);
}

TEST(SolveExamples, BluffWithChanceAndAnInformationSet) {
  TGameType32 game;
  ASSERT_TRUE(SolveExample("bluff.lmx", 2, game));
  ASSERT_EQ(SolutionNames(game), (std::vector<std::string>{"M 1.1"}));
  TSolution32& s = *Nth(game, 0);
  EXPECT_NEAR(ChoiceIn(game, s, "Bet", "Ann high").Probability, 1, kTol);
  EXPECT_NEAR(ChoiceIn(game, s, "Bet", "Ann low").Probability, 1.0 / 3, kTol);
  EXPECT_NEAR(ChoiceIn(game, s, "Call", "Bob high").Probability, 2.0 / 3, kTol);
  EXPECT_NEAR(BeliefIn(game, s, "Bob high"), 0.75, kTol);
  EXPECT_NEAR(BeliefIn(game, s, "Bob low"), 0.25, kTol);
  EXPECT_NEAR(NodeValueIn(game, s, "Deal", "Ann"), 1.0 / 3, kTol);
  EXPECT_NEAR(NodeValueIn(game, s, "Ann high", "Bob"), -5.0 / 3, kTol);
}

TEST(SolveExamples, TreesAndLoops) {
  TGameType32 hidden;
  ASSERT_TRUE(SolveExample("hidden_move.lmx", 2, hidden));
  EXPECT_EQ(SolutionNames(hidden), (std::vector<std::string>{"P 1.1", "P 2.1", "M 3.1"}));
  EXPECT_NEAR(ChoiceIn(hidden, *Nth(hidden, 2), "Left", "Root").Probability, 2.0 / 3, kTol);
  EXPECT_NEAR(ChoiceIn(hidden, *Nth(hidden, 2), "Up", "B1").Probability, 1.0 / 3, kTol);

  TGameType32 centipede;
  ASSERT_TRUE(SolveExample("discounted_centipede.lmx", 2, centipede));
  ASSERT_EQ(SolutionNames(centipede), (std::vector<std::string>{"P 1.1"}));
  // Ann takes at once: passing would only let Bob take 3.
  EXPECT_EQ(ChoiceIn(centipede, *Nth(centipede, 0), "Take", "Ann turn").Probability, 1);
  EXPECT_EQ(ChoiceIn(centipede, *Nth(centipede, 0), "Take", "Bob turn").Probability, 1);
  EXPECT_EQ(NodeValueIn(centipede, *Nth(centipede, 0), "Ann turn", "Ann"), 2);

  TGameType32 dilemma;
  ASSERT_TRUE(SolveExample("prisoners_dilemma.lmx", 2, dilemma));
  ASSERT_EQ(SolutionNames(dilemma), (std::vector<std::string>{"P 1.1"}));
  EXPECT_EQ(ChoiceIn(dilemma, *Nth(dilemma, 0), "Defect", "Bob moves").Probability, 1);
}

TEST(SolveExamples, SamplingIsRepeatable) {
  TGameType32 first;
  TGameType32 second;
  RecordingObserver view;
  ASSERT_TRUE(SolveExample("battle_of_the_sexes.lmx", 3, first, &view));
  ASSERT_TRUE(SolveExample("battle_of_the_sexes.lmx", 3, second));
  EXPECT_EQ(SolutionNames(first), SolutionNames(second));
  EXPECT_FALSE(first.Solutions().Empty());
  EXPECT_EQ(view.Captions.at(1), "Sampling...");
  EXPECT_EQ(view.Percent, "100.00%");
}

}  // namespace
}  // namespace ludomark
