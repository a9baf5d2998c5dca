#pragma once

#include <string>
#include <vector>

#include "model/game_list.h"
#include "model/game_object.h"
#include "model/matrix.h"
#include "model/vector.h"

namespace ludomark {

class TObstacles;

// Which values a solution view draws.
enum SolutionFlag : int {
  kShowProbabilities = 2,
  kShowBeliefs = 4,
  kShowExpected = 8,
};

// One equilibrium assessment found by a solve run, or read from a file: probabilities, beliefs,
// expected values and regrets by element number, and the values it shows on the picture.
class TSolution32 : public TGameObject32 {
 public:
  // Sized from the document's lists, so the owner comes first.
  explicit TSolution32(TFakeGame* owner);

  int32_t Kind = 0;  // 1 pure, 2 mixed, 3 sampled
  int32_t Param = 0;
  int32_t FoundCount = 1;
  bool InView = false;
  Ref<TGameObject32> Group;
  TVector Beliefs;
  TVector Probabilities;
  TVector Expectations;
  TVector Regrets;
  TBoolVect BestSet;
  // Each choice's probability as an exact fraction ("2/3"), by choice number, where the method
  // that found the solution computes exactly; empty otherwise (and in solutions read back).
  std::vector<std::string> ExactProbabilities;
  // The choice's exact probability, or "" where there is none.
  std::string ExactOf(int number) const {
    const auto at = static_cast<std::size_t>(number);
    return number >= 0 && at < ExactProbabilities.size() ? ExactProbabilities[at] : std::string();
  }
  TMatrix Values;                   // players x nodes
  TGameList Bits{/*owning=*/true};  // TSolutionBit
  TGameList AuditEntries{/*owning=*/true};
  int32_t SolutionFlags = kShowProbabilities | kShowBeliefs | kShowExpected;

  void InitDefaults() override;
  int32_t Renumber() override;
  std::string Describe(int mode) override;
  void ParseLine(const std::string& line) override;
  // Its values over the game's picture, those whose display flag is on; each value stores
  // where it was drawn. A move never played is dashed, a node never reached hollow.
  void Draw(TCanvas& canvas) override;
  // Draws the values where they cover nothing of what the obstacles hold (what the game drew,
  // and each value placed before): at their own place when it is free, else at the nearest
  // free place around it, else at their own place. The values drawn join the obstacles.
  void Draw(TCanvas& canvas, TObstacles& obstacles);

 private:
  void DrawValues(TCanvas& canvas, TObstacles* obstacles);
};

// A new solution sized for the document's current lists.
TSolution32* NewSolution(TFakeGame* owner);

}  // namespace ludomark
