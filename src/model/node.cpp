#include "model/node.h"

#include <cmath>

#include "model/colors.h"
#include "model/drawing.h"
#include "model/fake_game.h"
#include "model/fixed_fields.h"
#include "model/game_list.h"
#include "model/info.h"
#include "model/move.h"
#include "model/player.h"
#include "model/settings.h"
#include "model/side.h"

namespace ludomark {

void TNode32::InitDefaults() {
  TGameObject32::InitDefaults();
  TypeCode = kNode;
  PlayerNumber = 0;
  Player = nullptr;
  InfoNumber = 0;
  Info = nullptr;
  Level = 0;
}

void TNode32::CopyTo(TGameObject32& dest) {
  TGameObject32::CopyTo(dest);
  if (auto* node = dynamic_cast<TNode32*>(&dest)) {
    node->Player = Player.get();
    node->Info = Info.get();
  }
}

bool TNode32::SetPlayer(TGameObject32* p) {
  if (!IsNilOrClass<TPlayer32>(p)) return false;
  Player = As<TPlayer32>(p);
  return true;
}

bool TNode32::SetInfo(TGameObject32* i) {
  if (!IsNilOrClass<TInfo32>(i) && !IsNilOrClass<TSide32>(i)) return false;
  Info = As<TInfo32>(i);
  return true;
}

int32_t TNode32::Renumber() {
  Number = Owner != nullptr ? Owner->NumberIn(Owner->Nodes(), this) : 0;
  return Number;
}

void TNode32::SetPosition(int32_t x, int32_t y) {
  TGameObject32::SetPosition(x, y);
  if (Owner == nullptr) return;
  Owner->Moves().ForEachAs<TMove32>([&](TMove32* move) {
    if (move->From.get() == this) move->Refresh();
    if (move->To.get() == this) move->Refresh();
  });
}

TRect TNode32::RedrawRect(int32_t x, int32_t y, bool withLinks) {
  TRect r = TGameObject32::RedrawRect(x, y, withLinks);
  if (!withLinks || Owner == nullptr) return r;
  Owner->Moves().ForEachAs<TMove32>([&](TMove32* move) {
    if (move->From.get() == this || move->To.get() == this) {
      r = UnionRect(r, move->RedrawRect(move->X, move->Y, /*withLinks=*/false));
    }
  });
  if (Info.get() != nullptr) {
    Info->Members.ForEach([&](TGameObject32* member) {
      if (member != this)
        r = UnionRect(r, member->RedrawRect(member->X, member->Y, /*withLinks=*/false));
    });
  }
  return r;
}

bool TNode32::CanDelete() {
  if (Owner == nullptr) return true;
  bool leaves = false;
  Owner->Moves().ForEach([&](TGameObject32* e) {
    if (As<TMove32>(e)->From.get() == this) leaves = true;
  });
  return !leaves;
}

std::string TNode32::Describe(int mode) {
  if (mode == kFileLine) {
    TGameObject32::Describe(mode);
    AppendColumn(Text, NumberText(Player.get()), 56);
    AppendColumn(Text, NumberText(Info.get()), 64);
    return Text;
  }
  if (mode == kSolverStepsMode || mode == kStoredTextMode) return TGameObject32::Describe(mode);
  Text = Name + (Player.get() != nullptr ? "(" + Player->Name + ")" : std::string("(CHANCE)"));
  return Text;
}

void TNode32::ParseLine(const std::string& line) {
  TGameObject32::ParseLine(line);
  PlayerNumber = ParseIntField(FieldAt(line, 49, 8));
  InfoNumber = ParseIntField(FieldAt(line, 57, 8));
}

bool TNode32::Relink() {
  Player = nullptr;
  if (Owner == nullptr) return true;
  SetPlayer(Owner->Players().ElementAt(PlayerNumber));
  SetInfo(Owner->Infos().ElementAt(InfoNumber));
  return true;
}

bool TNode32::HasIncomingMove() {
  if (Owner == nullptr) return false;
  bool found = false;
  Owner->Moves().ForEach([&](TGameObject32* e) {
    if (As<TMove32>(e)->To.get() == this) found = true;
  });
  return found;
}

int TNode32::OutDegree() {
  if (Owner == nullptr) return 0;
  int count = 0;
  Owner->Moves().ForEach([&](TGameObject32* e) {
    if (As<TMove32>(e)->From.get() == this) ++count;
  });
  return count;
}

bool TNode32::ChanceSumValid() {
  if (Owner == nullptr) return true;
  std::vector<TMove32*> leaving;
  Owner->Moves().ForEach([&](TGameObject32* e) {
    if (As<TMove32>(e)->From.get() == this) leaving.push_back(As<TMove32>(e));
  });
  return ChanceSumValid(leaving);
}

bool TNode32::ChanceSumValid(const std::vector<TMove32*>& leaving) {
  if (Player.get() != nullptr) return true;
  double sum = 0;
  bool negative = false;
  for (TMove32* move : leaving) {
    if (move->Value < 0) negative = true;
    sum += move->Value;
  }
  return !negative && sum <= 1.0 + kChanceSumTolerance;
}

void TNode32::EnsureInfo() {
  if (Info.get() != nullptr || Owner == nullptr) return;
  auto* info = NewElement<TInfo32>(Owner);
  Info = info;
  Owner->Infos().Add(info);
  // Its one member is this node; whether a move reaches it is no question here.
  info->RelinkWith({this}, [](TNode32*) { return true; });
}

void TNode32::Draw(TCanvas& canvas) {
  if (Temporary && !DebugMode) return;
  Color = Player.get() != nullptr ? Player->Color : kGrey;
  DrawLabel(canvas, *this);
  NodeDisc(canvas, *this, /*filled=*/true);
}

}  // namespace ludomark
