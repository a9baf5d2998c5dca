#include "model/move.h"

#include <algorithm>
#include <cmath>

#include "model/choice.h"
#include "model/colors.h"
#include "model/drawing.h"
#include "model/fake_game.h"
#include "model/fixed_fields.h"
#include "model/info.h"
#include "model/node.h"
#include "model/number_format.h"
#include "model/payoff.h"
#include "model/player.h"
#include "model/settings.h"
#include "model/strat.h"

namespace ludomark {

TMove32::~TMove32() {
  From = nullptr;
  To = nullptr;
  Choice = nullptr;
  // While the whole document goes, its payoff list frees the payoffs anyway; a temporary move
  // (the audit's) never carries payoffs, and there are many of them to drop at once.
  if (Owner != nullptr && !Owner->Closing() && !Temporary) DeletePayoffs();
  PayoffList.Clear();
}

void TMove32::InitDefaults() {
  TGameObject32::InitDefaults();
  TypeCode = kMove;
  FromNumber = 0;
  From = nullptr;
  ToNumber = 0;
  To = nullptr;
  Value = 1.0;
  Choice = nullptr;
  Shown = true;
  PayoffList.Clear();
}

void TMove32::SetFrom(TNode32* n) {
  From = n;
}
void TMove32::SetTo(TNode32* n) {
  To = n;
}
void TMove32::SetChoice(TChoice32* c) {
  Choice = c;
}

void TMove32::CopyTo(TGameObject32& dest) {
  TGameObject32::CopyTo(dest);
  auto* move = dynamic_cast<TMove32*>(&dest);
  if (move == nullptr) return;
  move->From = From.get();
  move->To = To.get();
  move->Value = Value;
  move->DeletePayoffs();
  RebuildPayoffList();
  if (Owner != nullptr) {
    PayoffList.ForEach([&](TGameObject32* e) {
      auto* copy = NewElement<TPayoff32>(Owner);
      e->CopyTo(*copy);
      copy->Move = move;
      Owner->Payoffs().Add(copy);
    });
  }
  move->RebuildPayoffList();
}

void TMove32::RebuildPayoffList() {
  PayoffList.Clear();
  if (Owner == nullptr) return;
  Owner->Payoffs().ForEach([&](TGameObject32* e) {
    auto* payoff = dynamic_cast<TGameValue*>(e);
    if (payoff != nullptr && payoff->Move.get() == this) PayoffList.Add(e);
  });
}

void TMove32::DeletePayoffs() {
  RebuildPayoffList();
  // Destroying a payoff empties its entries in every list, the document's included.
  PayoffList.ForEach([&](TGameObject32* e) { FreeElement(e); });
  PayoffList.Clear();
}

TPayoff32* TMove32::FindPayoff(const TPlayer32* player) {
  TPayoff32* found = nullptr;
  PayoffList.ForEach([&](TGameObject32* e) {
    auto* payoff = dynamic_cast<TPayoff32*>(e);
    if (payoff != nullptr && payoff->Player.get() == player) found = payoff;
  });
  return found;
}

bool TMove32::LacksPayoff() {
  if (Owner == nullptr) return false;
  bool lacks = false;
  Owner->Players().ForEach([&](TGameObject32* p) {
    if (FindPayoff(As<TPlayer32>(p)) == nullptr) lacks = true;
  });
  return lacks;
}

int32_t TMove32::Renumber() {
  Number = Owner != nullptr ? Owner->NumberIn(Owner->Moves(), this) : 0;
  return Number;
}

void TMove32::SetPosition(int32_t x, int32_t y) {
  TGameObject32::SetPosition(x, y);
  Refresh();
}

void TMove32::Refresh() {
  if (From.get() == nullptr) return;
  ComputeGeometry(From->X, From->Y);
}

void TMove32::ComputeGeometry(int32_t fx, int32_t fy) {
  const TNode32* to = To.get();
  const int32_t tx = to != nullptr ? to->X : X;
  const int32_t ty = to != nullptr ? to->Y : Y;
  const double dx = static_cast<double>(tx) - fx;
  const double dy = static_cast<double>(ty) - fy;
  double len = std::abs(dx) + std::abs(dy);
  if (len < 1) len = 1;
  const int32_t c = RoundHalfEven(4 * dx / len);
  const int32_t d = RoundHalfEven(4 * dy / len);
  ArrowHead[0] = TPoint{X, Y};
  ArrowHead[1] = TPoint{X - 2 * c - d, Y + c - 2 * d};
  ArrowHead[2] = TPoint{X - 2 * c + d, Y - c - 2 * d};

  Curve[0] = TPoint{fx, fy};
  if (to != nullptr) {
    // Parabola through the leaving node (g = -1), the move (g = 0) and the reached node (g = 1).
    const double a = fx, b = fy, cx = to->X, e = to->Y, p = X, q = Y;
    for (int i = 1; i < kCurvePoints; ++i) {
      const double g = 0.1 * i - 1;
      const double h = g * g;
      Curve[i].X = RoundHalfEven(((a + cx) / 2 - p) * h + g * (cx - a) / 2 + p);
      Curve[i].Y = RoundHalfEven(((b + e) / 2 - q) * h + g * (e - b) / 2 + q);
    }
  } else {
    for (int i = 1; i < kCurvePoints; ++i) {
      Curve[i].X = RoundHalfEven(i * ((static_cast<double>(X) - fx) * 0.05) + fx);
      Curve[i].Y = RoundHalfEven(i * ((static_cast<double>(Y) - fy) * 0.05) + fy);
    }
  }
}

TRect TMove32::RedrawRect(int32_t x, int32_t y, bool withLinks) {
  TRect r = TGameObject32::RedrawRect(x, y, withLinks);
  if (!withLinks) return r;
  if (From.get() != nullptr)
    r = UnionRect(r, From->RedrawRect(From->X, From->Y, /*withLinks=*/false));
  if (To.get() != nullptr) r = UnionRect(r, To->RedrawRect(To->X, To->Y, /*withLinks=*/false));
  return r;
}

std::string TMove32::Describe(int mode) {
  if (mode == kFileLine) {
    TGameObject32::Describe(mode);
    AppendColumn(Text, NumberText(From.get()), 56);
    AppendColumn(Text, NumberText(To.get()), 64);
    AppendColumn(Text, RealField(Value, 8), 72);
    return Text;
  }
  if (mode == kSolverStepsMode || mode == kStoredTextMode) return TGameObject32::Describe(mode);
  std::string text = Name;
  if (From.get() != nullptr) text.append("@").append(From->Describe(kShortText));
  Text = text;
  return Text;
}

void TMove32::ParseLine(const std::string& line) {
  TGameObject32::ParseLine(line);
  FromNumber = ParseIntField(FieldAt(line, 49, 8));
  ToNumber = ParseIntField(FieldAt(line, 57, 8));
  Value = ParseFloatField(FieldAt(line, 65, 8));
}

bool TMove32::Relink() {
  From = nullptr;
  To = nullptr;
  if (Owner != nullptr) {
    From = dynamic_cast<TNode32*>(Owner->Nodes().ElementAt(FromNumber));
    To = dynamic_cast<TNode32*>(Owner->Nodes().ElementAt(ToNumber));
  }
  Refresh();
  return true;
}

void TMove32::AttachChoice() {
  if (const TChoice32* held = Choice.get(); held != nullptr && typeid(*held) == typeid(TStrat32)) {
    return;  // a table's cell keeps its strategy
  }
  // A move that leaves no node (only a damaged file makes one) has no set to choose in.
  if (Owner == nullptr || From.get() == nullptr) return;
  TInfo32* info = From->Info.get();
  // A set lists its own choices; a node without a set looks among every choice without one.
  TGameList& candidates = info != nullptr ? info->Choices : Owner->Strategies();
  candidates.ForEachAs<TChoice32>([&](TChoice32* choice) {
    if (choice->Info.get() == info && choice->Name == Name) Choice = choice;
  });
  if (Choice.get() == nullptr) {
    auto* choice = NewElement<TChoice32>(Owner);
    choice->Info = info;
    choice->Name = Name;
    choice->Temporary = Temporary;
    if (info != nullptr) info->AddChoice(choice);
    Owner->Strategies().Add(choice);
    Choice = choice;
  }
  TChoice32* choice = Choice.get();
  if (!choice->ChoiceMoves.Contains(this)) choice->ChoiceMoves.Add(this);
  if (From->Player.get() == nullptr) choice->SetProbability(1.0);
}

void TMove32::Draw(TCanvas& canvas) {
  if ((Temporary && !DebugMode) || From.get() == nullptr) return;
  const bool chance = From->Player.get() == nullptr;
  Color = chance ? kGrey : From->Player->Color;
  DrawLabel(canvas, *this);
  canvas.SetPenWidth(ToScreen(1));
  FillTriangle(canvas, ArrowHead);
  DrawCurve(canvas, *this, /*solid=*/true);
  if (Value < 1) {
    canvas.SetBrushColor(kWhite);
    canvas.SetFontColor(kBlack);
    // Below the name's box where the name reaches down to the value's own place.
    int32_t top = ToScreen(Y - 14);
    if (!Name.empty()) top = std::max(top, ToScreen(Y - 24) + canvas.TextExtent(Name).Y);
    canvas.TextOut(ToScreen(X + 7), top, (chance ? "p= " : "d= ") + FormatPicture(Value));
  }
}

}  // namespace ludomark
