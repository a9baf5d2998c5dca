#pragma once

#include <array>

#include "model/game_list.h"
#include "model/game_object.h"

namespace ludomark {

class TInfo32;
class TMove32;

// What a player can do at an information set: the moves of one name at its member nodes.
class TChoice32 : public TGameObject32 {
 public:
  bool Eliminated = false;
  bool EliminationRequest = false;
  bool IsBest = false;
  double Probability = 1.0;
  double Expected = 0;
  double Direction = 0;
  double MinExpected = 0;
  double MaxExpected = 0;
  Ref<TInfo32> Info;
  TGameList ChoiceMoves;  // view
  std::array<TPoint, 3> Marker{};

  ~TChoice32() override;

  void InitDefaults() override;
  int32_t Renumber() override;

  void SetInfo(TInfo32* info) { Info = info; }
  void AddMove(TMove32* move);
  void SetProbability(double value);
  // Audit step: the bounds of the choice from those of its moves, once all of them are known.
  void BoundsFromMoves();
  // Solver step: the range of the choice's values over the stored profiles.
  void UpdateRange(TGameList& profiles);
  bool IsDominated();
  bool HasPlayer() const;
};

// Gives a move its choice (the rule of TMove32::AttachChoice).
void ChoiceForMove(TMove32& move);

}  // namespace ludomark
