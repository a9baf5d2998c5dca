#include "model/payoff.h"

#include <algorithm>

#include "model/cell.h"
#include "model/colors.h"
#include "model/drawing.h"
#include "model/fake_game.h"
#include "model/fixed_fields.h"
#include "model/game_list.h"
#include "model/move.h"
#include "model/node.h"
#include "model/number_format.h"
#include "model/player.h"
#include "model/settings.h"
#include "model/table.h"

namespace ludomark {

TGameValue::~TGameValue() {
  Move = nullptr;
  Player = nullptr;
}

std::string TGameValue::Describe(int mode) {
  if (mode == kFileLine) {
    // An absent link leaves its field blank.
    TGameObject32::Describe(mode);
    AppendColumn(Text, Move.get() != nullptr ? NumberText(Move.get()) : "", 56);
    AppendColumn(Text, Player.get() != nullptr ? NumberText(Player.get()) : "", 64);
    AppendColumn(Text, RealField(Value, 16), 80);
    return Text;
  }
  if (mode == kSolverStepsMode || mode == kStoredTextMode) return TGameObject32::Describe(mode);
  std::string text = Name + FormatGeneral(Value, 6) + " ";
  if (Move.get() != nullptr) text.append("@").append(Move->Describe(kShortText));
  if (Player.get() != nullptr) text.append(" for ").append(Player->Name);
  Text = text;
  return Text;
}

void TGameValue::ParseLine(const std::string& line) {
  TGameObject32::ParseLine(line);
  FromNumber = ParseIntField(FieldAt(line, 49, 8));
  PlayerNumber = ParseIntField(FieldAt(line, 57, 8));
  Value = ParseFloatField(FieldAt(line, 65, 16));
}

bool TGameValue::Relink() {
  if (Owner == nullptr) return true;
  // An identity number out of range leaves the link as it was.
  if (TGameObject32* p = Owner->Players().ElementAt(PlayerNumber)) {
    Player = As<TPlayer32>(p);
  }
  bool gone = false;
  if (TGameObject32* m = Owner->ElementAsRead(Owner->Moves(), FromNumber, gone)) Move = m;
  // A value of a move dropped while relinking belongs to nothing any more.
  return !gone;
}

void TPayoff32::InitDefaults() {
  TGameObject32::InitDefaults();
  TypeCode = kPayoff;
  Move = nullptr;
  Player = nullptr;
  Value = 0;
  Shown = true;
}

void TPayoff32::CopyTo(TGameObject32& dest) {
  TGameObject32::CopyTo(dest);
  if (auto* value = dynamic_cast<TGameValue*>(&dest)) {
    value->Player = Player.get();
    value->Move = Move.get();
    value->Value = Value;
  }
}

void TPayoff32::SetPlayer(TPlayer32* p) {
  Player = p;
}

bool TPayoff32::IsMoverPayoff() {
  auto* move = dynamic_cast<TMove32*>(Move.get());
  if (move == nullptr || move->From.get() == nullptr) return false;
  return move->From->Player.get() == Player.get();
}

void TPayoff32::Draw(TCanvas& canvas) {
  auto* move = dynamic_cast<TMove32*>(Move.get());
  if ((Temporary && !DebugMode) || move == nullptr || !move->Shown) return;
  Color = Player.get() != nullptr ? Player->Color : kBlack;
  // Under its move, or in its cell, one line per player in player order. Placed before its
  // label is drawn, so that the same game always gives the same picture.
  if (auto* cell = dynamic_cast<TCell32*>(move)) {
    X = cell->CellX + 7;
    Y = cell->CellY;
  } else {
    X = move->X - 7;
    Y = move->Y;
  }
  // Counted from 0: the first player's payoff stands on the first line.
  const int32_t position = Owner != nullptr && Player.get() != nullptr
                               ? std::max(Owner->Players().PositionOf(Player.get()) - 1, 0)
                               : 0;
  Y += 14 * position + 7;
  DrawLabel(canvas, *this);
  canvas.SetPenWidth(1);
  canvas.SetBrushColor(kWhite);
  canvas.SetFontSize(ToScreen(8));
  canvas.TextOut(ToScreen(X), ToScreen(Y), "U= " + FormatPicture(Value));
}

}  // namespace ludomark
