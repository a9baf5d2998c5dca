#include "model/game_object.h"

#include <cstdlib>

#include "model/fake_game.h"
#include "model/fixed_fields.h"
#include "model/game_list.h"
#include "model/payoff.h"
#include "model/player.h"
#include "model/settings.h"

namespace ludomark {

void RefBase::Attach(TGameObject32* target) {
  if (target == target_) return;
  Detach();
  if (target == nullptr) return;
  slot_ = target->referrers_.size();
  target->referrers_.push_back(this);
  target_ = target;
}

void RefBase::Detach() {
  if (target_ == nullptr) return;
  std::vector<RefBase*>& table = target_->referrers_;
  RefBase* last = table.back();
  table[slot_] = last;
  last->slot_ = slot_;
  table.pop_back();
  target_ = nullptr;
  if (list_ != nullptr) list_->MayHaveHoles();
}

void RefBase::MoveFrom(RefBase& other) noexcept {
  Detach();
  target_ = other.target_;
  slot_ = other.slot_;
  if (target_ != nullptr) target_->referrers_[slot_] = this;
  other.target_ = nullptr;
}

TGameObject32::~TGameObject32() {
  DetachReferrers();
}

void TGameObject32::DetachReferrers() {
  for (RefBase* link : referrers_) {
    link->target_ = nullptr;
    if (link->list_ != nullptr) link->list_->MayHaveHoles();
  }
  referrers_.clear();
}

void FreeElement(TGameObject32* element) {
  // Links are emptied by the base destructor, last: while the element's own destructor runs,
  // its siblings can still recognise it (a move finds the payoffs that name it).
  delete element;
}

std::string TrimRight(const std::string& text) {
  std::size_t end = text.size();
  while (end > 0 && text[end - 1] == ' ') --end;
  return text.substr(0, end);
}

void TGameObject32::CopyTo(TGameObject32& dest) {
  dest.Name = Name;
  dest.X = X;
  dest.Y = Y;
  dest.Color = Color;
  dest.Owner = Owner;
}

void TGameObject32::InitDefaults() {
  SetName("");
  SetPosition(100, 100);
  SetDragAnchor(0, 0);
  TypeCode = kPlain;
  Color = 0;
  Temporary = false;
  Shown = false;
}

void TGameObject32::SetPosition(int32_t x, int32_t y) {
  X = x;
  Y = y;
}

bool TGameObject32::HitTest(int32_t x, int32_t y) {
  // The distance is in model units but the threshold is scaled, as the window has always done.
  const int64_t distance = std::llabs(int64_t{X} - x) + std::llabs(int64_t{Y} - y);
  return distance < ToScreen(12);
}

bool TGameObject32::InRect(const TRect& r) {
  return Min(r.Left, r.Right) < X && X < Max(r.Left, r.Right) && Min(r.Top, r.Bottom) < Y &&
         Y < Max(r.Top, r.Bottom);
}

TRect TGameObject32::RedrawRect(int32_t x, int32_t y, bool /*withLinks*/) {
  const int32_t sx = ToScreen(x);
  const int32_t sy = ToScreen(y);
  return TRect{sx - 160, sy - 160, sx + 80, sy + 80};
}

int32_t TGameObject32::Renumber() {
  Number = 0;
  return 0;
}

bool TGameObject32::CanDelete() {
  return true;
}

std::string TGameObject32::Describe(int mode) {
  if (mode == kSolverStepsMode || mode == kStoredTextMode) return Text;
  Text = Name;
  if (mode == kFileLine) WriteCommonColumns();
  return Text;
}

void TGameObject32::ParseLine(const std::string& line) {
  Text = line;
  SetName(WithCutCharacterMarked(FieldAt(line, 1, 16), 16));
  X = ParseIntField(FieldAt(line, 17, 8));
  Y = ParseIntField(FieldAt(line, 25, 8));
  Number = ParseIntField(FieldAt(line, 33, 8));
}

void AppendColumn(std::string& line, const std::string& value, int lastColumn) {
  line += value;
  PadTo(line, lastColumn);
}

void TGameObject32::WriteCommonColumns() {
  // A control character would split or damage the record; a cut never splits a character.
  Text = CutToCharacters(WithoutControls(Name), 16);
  PadTo(Text, 16);
  AppendColumn(Text, std::to_string(X), 24);
  AppendColumn(Text, std::to_string(Y), 32);
  AppendColumn(Text, std::to_string(Renumber()), 40);
  AppendColumn(Text, std::to_string(TypeCode), 48);
}

std::string NumberText(TGameObject32* element) {
  return element != nullptr ? std::to_string(element->Renumber()) : "0";
}

bool TGameObject32::Relink() {
  return true;
}

void TGameObject32::Refresh() {}

void TGameObject32::Draw(TCanvas& /*canvas*/) {}

void TGameObject32::SetName(const std::string& text) {
  Name = TrimRight(WithoutControls(text));
}

void TGameObject32::SetDragAnchor(int32_t ax, int32_t ay) {
  DragDX = X - ax;
  DragDY = Y - ay;
}

void TGameObject32::SetSettled(bool value) {
  Settled = value;
  if (value) Done = true;
}

void TGameObject32::SetBound(bool upper, double value) {
  if (upper) {
    UpperBound = value;
  } else {
    LowerBound = value;
  }
}

TGameValue* TGameObject32::FindBoundBit(bool upper, const TGameObject32* player) {
  if (!Done || Owner == nullptr) return nullptr;
  const int32_t code = upper ? kUpperBoundBit : kLowerBoundBit;
  TGameValue* found = nullptr;
  Owner->BoundBits().ForEach([&](TGameObject32* e) {
    if (found != nullptr || e->TypeCode != code) return;
    auto* bit = dynamic_cast<TGameValue*>(e);
    if (bit != nullptr && bit->Move.get() == this &&
        As<const TGameObject32>(bit->Player.get()) == player) {
      found = bit;
    }
  });
  return found;
}

}  // namespace ludomark
