#pragma once

#include <vector>

#include "model/game_object.h"

namespace ludomark {

class TMove32;

class TPlayer32;
class TInfo32;

// A decision node (with a player), a chance node (without) or a final node (no move leaves it).
// Probabilities are stored with six digits, so a sum may pass 1 by a few millionths.
constexpr double kChanceSumTolerance = 1e-5;

class TNode32 : public TGameObject32 {
 public:
  Ref<TPlayer32> Player;
  int32_t PlayerNumber = 0;
  Ref<TInfo32> Info;
  int32_t InfoNumber = 0;
  double Belief = 0;
  double RootWeight = 0;

  void CopyTo(TGameObject32& dest) override;
  void InitDefaults() override;
  void SetPosition(int32_t x, int32_t y) override;
  TRect RedrawRect(int32_t x, int32_t y, bool withLinks) override;
  int32_t Renumber() override;
  bool CanDelete() override;
  std::string Describe(int mode) override;
  void Draw(TCanvas& canvas) override;
  void ParseLine(const std::string& line) override;
  bool Relink() override;

  bool SetPlayer(TGameObject32* p);
  bool SetInfo(TGameObject32* i);
  bool HasIncomingMove();
  int OutDegree();
  bool ChanceSumValid();
  // The same over the moves that leave it, already gathered.
  bool ChanceSumValid(const std::vector<TMove32*>& leaving);
  void EnsureInfo();
};

}  // namespace ludomark
