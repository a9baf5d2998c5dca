#pragma once

#include <array>

#include "model/game_list.h"
#include "model/game_object.h"

namespace ludomark {

class TNode32;
class TChoice32;
class TPayoff32;
class TPlayer32;

// A directed edge from a node to a node. Its own position is where the arrow head sits and the
// control point of its curve.
class TMove32 : public TGameObject32 {
 public:
  static constexpr int kCurvePoints = 21;

  Ref<TNode32> From;
  Ref<TNode32> To;
  int32_t FromNumber = 0;
  int32_t ToNumber = 0;
  double Expected = 0;
  double Value = 1.0;  // probability at a chance node, discount factor at a decision node
  Ref<TChoice32> Choice;
  TGameList PayoffList;  // view: the payoffs naming this move, rebuilt on demand
  std::array<TPoint, 3> ArrowHead{};
  std::array<TPoint, kCurvePoints> Curve{};

  ~TMove32() override;

  void CopyTo(TGameObject32& dest) override;
  void InitDefaults() override;
  void SetPosition(int32_t x, int32_t y) override;
  TRect RedrawRect(int32_t x, int32_t y, bool withLinks) override;
  int32_t Renumber() override;
  std::string Describe(int mode) override;
  void ParseLine(const std::string& line) override;
  bool Relink() override;
  void Refresh() override;
  void Draw(TCanvas& canvas) override;

  void SetFrom(TNode32* n);
  void SetTo(TNode32* n);
  void SetValue(double v) { Value = v; }
  void SetChoice(TChoice32* c);

  void RebuildPayoffList();
  void DeletePayoffs();
  TPayoff32* FindPayoff(const TPlayer32* player);
  bool LacksPayoff();
  // Gives the move its choice: the same-named choice of its node's set, or a new one.
  void AttachChoice();

 protected:
  // Arrow head and curve from the point (fx, fy) the move leaves.
  void ComputeGeometry(int32_t fx, int32_t fy);
};

}  // namespace ludomark
