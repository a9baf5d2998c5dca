#pragma once

#include "model/game_object.h"

namespace ludomark {

class TPlayer32;

// A value attached to an element for a player: payoffs, and the values a solution shows.
class TGameValue : public TGameObject32 {
 public:
  Ref<TGameObject32> Move;  // a move or cell for payoffs; the shown element for solution values
  Ref<TPlayer32> Player;
  int32_t FromNumber = 0;
  int32_t PlayerNumber = 0;
  double Value = 0;

  ~TGameValue() override;
  std::string Describe(int mode) override;
  void ParseLine(const std::string& line) override;
  bool Relink() override;
};

// A number one player receives when play goes through one move or cell.
class TPayoff32 : public TGameValue {
 public:
  void CopyTo(TGameObject32& dest) override;
  void InitDefaults() override;
  void Draw(TCanvas& canvas) override;

  void SetPlayer(TPlayer32* p);
  void SetMove(TGameObject32* m) { Move = m; }
  void SetValue(double v) { Value = v; }
  // The payoff goes to the player who makes the move it is attached to.
  bool IsMoverPayoff();
};

}  // namespace ludomark
