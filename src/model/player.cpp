#include "model/player.h"

#include "model/colors.h"
#include "model/drawing.h"
#include "model/fake_game.h"
#include "model/fixed_fields.h"
#include "model/game_list.h"
#include "model/info.h"
#include "model/node.h"
#include "model/payoff.h"
#include "model/side.h"

namespace ludomark {

void TPlayer32::InitDefaults() {
  TGameObject32::InitDefaults();
  TypeCode = kPlayer;
}

int32_t TPlayer32::Renumber() {
  Number = Owner != nullptr ? Owner->NumberIn(Owner->Players(), this) : 0;
  return Number;
}

bool TPlayer32::CanDelete() {
  if (Owner == nullptr) return true;
  bool used = false;
  // Tables and plain information sets are not examined: their player is derived.
  Owner->Nodes().ForEach([&](TGameObject32* e) {
    if (e->TypeCode == kNode && As<TNode32>(e)->Player.get() == this) used = true;
  });
  Owner->Infos().ForEach([&](TGameObject32* e) {
    if (e->TypeCode == kSide && As<TSide32>(e)->Player.get() == this) used = true;
  });
  Owner->Payoffs().ForEach([&](TGameObject32* e) {
    if (As<TGameValue>(e)->Player.get() == this) used = true;
  });
  return !used;
}

std::string TPlayer32::Describe(int mode) {
  TGameObject32::Describe(mode);
  if (mode == kFileLine) AppendColumn(Text, std::to_string(Color), 64);
  return Text;
}

void TPlayer32::ParseLine(const std::string& line) {
  TGameObject32::ParseLine(line);
  const int32_t color = ParseIntField(FieldAt(line, 49, 16));
  if (color != 0) {
    Color = color;
    return;
  }
  // Black is stored as 0, which also stands for "no colour": the first players get theirs.
  switch (Number) {
    case 1:
      Color = kBlue;
      break;
    case 2:
      Color = kRed;
      break;
    case 3:
      Color = kGreen;
      break;
    default:
      Color = kBlack;
      break;
  }
}

void TPlayer32::Draw(TCanvas& canvas) {
  DrawLabel(canvas, *this);
  // A temporary player shows no figure, even in debug mode.
  if (!Temporary) PlayerFigure(canvas, X, Y, Color);
}

}  // namespace ludomark
