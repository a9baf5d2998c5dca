#include "model/choice.h"

#include <algorithm>

#include "model/fake_game.h"
#include "model/info.h"
#include "model/move.h"
#include "model/player.h"
#include "model/profile_base.h"

namespace ludomark {

TChoice32::~TChoice32() {
  Info = nullptr;
  CopyLink = nullptr;
  ChoiceMoves.Clear();
}

void TChoice32::InitDefaults() {
  TGameObject32::InitDefaults();
  TypeCode = kChoice;
  CopyLink = this;
  Eliminated = false;
  EliminationRequest = false;
  IsBest = false;
  Probability = 1.0;
  Expected = 0;
  Direction = 0;
  ChoiceMoves.Clear();
}

int32_t TChoice32::Renumber() {
  Number = Owner != nullptr ? Owner->NumberIn(Owner->Strategies(), this) : 0;
  return Number;
}

void TChoice32::AddMove(TMove32* move) {
  ChoiceMoves.Add(move);
}

void TChoice32::SetProbability(double value) {
  if (value > 1) value = 1;
  if (value < 0) value = 0;
  Probability = value;
}

bool TChoice32::HasPlayer() const {
  return ludomark::HasPlayer(Info.get());
}

void TChoice32::BoundsFromMoves() {
  if (Eliminated || !HasPlayer()) return;
  bool known = true;
  double upper = -1e150;
  double lower = 1e150;
  ChoiceMoves.ForEach([&](TGameObject32* m) {
    if (!(m->Settled || m->Done)) known = false;
    upper = std::max(upper, m->UpperBound);
    lower = std::min(lower, m->LowerBound);
  });
  Done = known;
  if (known) {
    UpperBound = upper;
    LowerBound = lower;
  }
}

void TChoice32::UpdateRange(TGameList& profiles) {
  if (!HasPlayer() || Owner == nullptr) return;
  MaxExpected = -1e150;
  MinExpected = 1e150;
  TGameList& strategies = Owner->Strategies();
  profiles.ForEach([&](TGameObject32* e) {
    auto* profile = dynamic_cast<TProfileBase*>(e);
    if (profile == nullptr || Eliminated || !profile->Uses(Number)) return;
    bool counts = true;
    strategies.ForEachAs<TChoice32>([&](TChoice32* other) {
      if (!counts || !other->HasPlayer() || other->Info.get() == Info.get()) return;
      // A profile outside the supports fixed so far on the enumeration path does not count.
      if (other->Info->Mark && !other->Mark && profile->Uses(other->Number)) counts = false;
    });
    if (!counts) return;
    const double value = profile->InfoValue(Info->Number);
    MaxExpected = std::max(MaxExpected, value);
    MinExpected = std::min(MinExpected, value);
  });
}

bool TChoice32::IsDominated() {
  if (!HasPlayer() || Temporary) return false;
  if (Eliminated) return true;
  bool anyOther = false;
  bool dominated = true;
  Info->Choices.ForEachAs<TChoice32>([&](TChoice32* other) {
    if (other == this || other->Eliminated) return;
    anyOther = true;
    if (MaxExpected + 1e-8 > other->MinExpected) dominated = false;
  });
  return anyOther && dominated;
}

void ChoiceForMove(TMove32& move) {
  move.AttachChoice();
}

}  // namespace ludomark
