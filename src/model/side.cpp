#include "model/side.h"

#include <cstdlib>

#include "model/cell.h"
#include "model/colors.h"
#include "model/drawing.h"
#include "model/fake_game.h"
#include "model/fixed_fields.h"
#include "model/player.h"
#include "model/strat.h"
#include "model/table.h"

namespace ludomark {

TSide32::TSide32() {
  Choices.SetOwning(/*owning=*/true);
}

TSide32::~TSide32() {
  // Cells holding one of its strategies would be left incomplete; while the whole document
  // goes, the table frees them anyway.
  if (Owner != nullptr && !Owner->Closing()) FreeCellsOfStrategies();
  Table = nullptr;
  CurrentStrategy = nullptr;
}

void TSide32::InitDefaults() {
  TInfo32::InitDefaults();
  TypeCode = kSide;
  Table = nullptr;
  CurrentStrategy = nullptr;
}

void TSide32::CopyTo(TGameObject32& dest) {
  TGameObject32::CopyTo(dest);
  auto* side = dynamic_cast<TSide32*>(&dest);
  if (side == nullptr) return;
  side->Player = Player.get();
  side->Table = Table.get();
  // The destination's old strategies go; each new one is linked both ways with its source.
  side->WithdrawStrategies();
  side->Choices.FreeByType(kEveryType);
  side->ChoiceMask = 0;
  Choices.ForEachAs<TStrat32>([&](TStrat32* source) {
    auto* copy = NewElement<TStrat32>(Owner);
    copy->Name = source->Name;
    copy->Info = side;
    copy->CopyLink = source;
    source->CopyLink = copy;
    side->AddChoice(copy);
  });
}

bool TSide32::HitTest(int32_t x, int32_t y) {
  const int64_t distance = std::llabs(int64_t{LabelX} - x) + std::llabs(int64_t{Y} - y);
  return distance < ToScreen(12);
}

std::string TSide32::Describe(int mode) {
  if (mode == kFileLine) {
    WriteCommonColumns();
    AppendColumn(Text, NumberText(Player.get()), 56);
    AppendColumn(Text, NumberText(Table.get()), 64);
    return Text;
  }
  if (mode == kSolverStepsMode || mode == kStoredTextMode) return Text;
  std::string text = TInfo32::Describe(mode);
  text += Player.get() != nullptr ? "(" + Player->Name + ")" : std::string("(CHANCE)");
  text += Table.get() != nullptr ? "(" + Table->Name + ")" : std::string("(No Table)");
  Text = text;
  return Text;
}

void TSide32::ParseLine(const std::string& line) {
  TGameObject32::ParseLine(line);
  PlayerNumber = ParseIntField(FieldAt(line, 49, 8));
  TableNumber = ParseIntField(FieldAt(line, 57, 8));
}

int TSide32::Index() const {
  if (Table.get() == nullptr) return -1;
  return Table->Sides.PositionOf(this) - 1;
}

TStrat32* TSide32::StrategyAt(int index) {
  return As<TStrat32>(Choices.ElementAt(index + 1));
}

void TSide32::Refresh() {
  Color = Player.get() != nullptr ? Player->Color : kGrey;
  const int index = Index();
  LabelX = index == 1 ? X + RoundHalfEven(StrategyCount() * 100 / 2.0) : X;
  if (index == 0 || index == 1) Shown = true;
  Choices.ForEach([&](TGameObject32* s) {
    s->Refresh();
    if (Shown) s->Shown = true;
  });
  if (index < 2) return;
  TStrat32* current = nullptr;
  Choices.ForEach([&](TGameObject32* s) {
    if (s->Shown) current = As<TStrat32>(s);
  });
  if (current == nullptr) current = StrategyAt(0);
  CurrentStrategy = current;
  Choices.ForEach([&](TGameObject32* s) { s->Shown = s == current; });
}

void TSide32::ShowStrategy(TStrat32* strategy) {
  if (strategy == nullptr || !Choices.Contains(strategy)) return;
  if (CurrentStrategy.get() != nullptr) CurrentStrategy->Shown = false;
  strategy->Shown = true;
  Refresh();
}

void TSide32::RelinkToTable() {
  Table = nullptr;
  Player = nullptr;
  if (Owner == nullptr) return;
  Owner->Players().ForEach([&](TGameObject32* p) {
    if (Player.get() == nullptr && IsStoredNumber(p, PlayerNumber)) {
      Player = As<TPlayer32>(p);
    }
  });
  Owner->Nodes().ForEach([&](TGameObject32* n) {
    if (Table.get() == nullptr && n->TypeCode == kTable && IsStoredNumber(n, TableNumber)) {
      Table = As<TTable32>(n);
    }
  });
  if (Table.get() != nullptr && !Table->Sides.Contains(this)) Table->Sides.Add(this);
}

void TSide32::EnterStrategies() {
  if (Owner == nullptr) return;
  TGameList& strategies = Owner->Strategies();
  Choices.ForEach([&](TGameObject32* s) {
    if (!strategies.Contains(s)) strategies.Add(s);
  });
}

void TSide32::WithdrawStrategies() {
  if (Owner == nullptr) return;
  TGameList& strategies = Owner->Strategies();
  Choices.ForEach([&](TGameObject32* s) { strategies.Remove(s); });
}

void TSide32::FreeCellsOfStrategies() {
  // A scratch copy names the table too, but the table's cells are not its business.
  if (Table.get() == nullptr || !Table->Sides.Contains(this)) return;
  Table->Cells.ForEachAs<TCell32>([&](TCell32* cell) {
    bool holds = false;
    cell->CellStrategies.ForEach([&](TGameObject32* s) {
      if (Choices.Contains(s)) holds = true;
    });
    if (holds) FreeElement(cell);
  });
}

void TSide32::Draw(TCanvas& canvas) {
  // Drawn whatever its Temporary flag: the table's layout placed it.
  canvas.SetFontColor(Color);
  canvas.SetBrushColor(kWhite);
  canvas.TextOut(ToScreen(LabelX + 8), ToScreen(Y), Player.get() != nullptr ? Player->Name : "");
  PlayerFigure(canvas, LabelX, Y, Color);
}

}  // namespace ludomark
