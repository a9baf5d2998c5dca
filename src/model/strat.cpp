#include "model/strat.h"

#include "model/colors.h"
#include "model/drawing.h"
#include "model/fake_game.h"
#include "model/fixed_fields.h"
#include "model/player.h"
#include "model/side.h"
#include "model/table.h"

namespace ludomark {

void TStrat32::InitDefaults() {
  TChoice32::InitDefaults();
  TypeCode = kStrategy;
}

TSide32* TStrat32::Side() const {
  return dynamic_cast<TSide32*>(Info.get());
}

std::string TStrat32::Describe(int mode) {
  if (mode == kFileLine) {
    TGameObject32::Describe(mode);
    AppendColumn(Text, NumberText(Info.get()), 56);
    return Text;
  }
  if (mode == kSolverStepsMode || mode == kStoredTextMode) return TGameObject32::Describe(mode);
  std::string text = Name;
  if (Info.get() != nullptr) text += "@" + Info->Name;
  ChoiceMoves.ForEach([&](TGameObject32* m) { text += "&" + m->Name; });
  Text = text;
  return Text;
}

void TStrat32::ParseLine(const std::string& line) {
  TGameObject32::ParseLine(line);
  SideNumber = ParseIntField(FieldAt(line, 49, 8));
}

bool TStrat32::Relink() {
  Info = nullptr;
  if (Owner != nullptr) {
    Owner->Infos().ForEach([&](TGameObject32* e) {
      if (Info.get() == nullptr && IsStoredNumber(e, SideNumber)) Info = As<TInfo32>(e);
    });
  }
  if (Info.get() == nullptr) {
    MarkForRemoval();
  } else {
    Info->Choices.Add(this);
  }
  return true;
}

void TStrat32::Refresh() {
  TSide32* side = Side();
  if (side == nullptr) return;
  Color = side->Player.get() != nullptr ? side->Player->Color : kGrey;
  int32_t x = side->X;
  int32_t y = side->Y;
  const int32_t position = side->Choices.PositionOf(this) - 1;
  if (side->Index() == 1) {
    x += 100 * position;
    y += 20;
  } else {
    const int32_t players = Owner != nullptr ? Owner->Players().LiveCount() : 0;
    y += players * 20 * position + 40;
  }
  X = x;
  Y = y;
  const int32_t mx = x + 4;
  const int32_t my = y + 6;
  // A small triangle of size 2 at the label; the drawing code fills it.
  Marker[0] = TPoint{mx - 2, my - 2};
  Marker[1] = TPoint{mx + 2, my};
  Marker[2] = TPoint{mx - 2, my + 2};
}

void TStrat32::Draw(TCanvas& canvas) {
  if (Side() == nullptr) return;
  canvas.SetPenColor(Color);
  canvas.SetBrushColor(Color);
  FillTriangle(canvas, Marker);
  // A strategy whose cells the table does not show is grey.
  canvas.SetFontColor(Shown ? Color : kGrey);
  canvas.SetBrushColor(kWhite);
  canvas.TextOut(ToScreen(X + 12), ToScreen(Y), Name);
}

}  // namespace ludomark
