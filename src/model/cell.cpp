#include "model/cell.h"

#include <algorithm>

#include "model/colors.h"
#include "model/drawing.h"
#include "model/fake_game.h"
#include "model/fixed_fields.h"
#include "model/number_format.h"
#include "model/side.h"
#include "model/strat.h"
#include "model/table.h"

namespace ludomark {

TCell32::~TCell32() {
  CellStrategies.Clear();
  Table = nullptr;
}

void TCell32::InitDefaults() {
  TMove32::InitDefaults();
  TypeCode = kCell;
  Table = nullptr;
  SliceOffset = 0;
  CellStrategies.Clear();
}

void TCell32::CopyTo(TGameObject32& dest) {
  TMove32::CopyTo(dest);
  auto* cell = dynamic_cast<TCell32*>(&dest);
  if (cell == nullptr) return;
  cell->CellStrategies.Clear();
  CellStrategies.ForEach([&](TGameObject32* s) {
    if (TGameObject32* mapped = s->CopyLink.get()) cell->CellStrategies.Add(mapped);
  });
  cell->Name = cell->NameFromStrategies();
}

std::string TCell32::NameFromStrategies() {
  std::string name;
  CellStrategies.ForEach([&](TGameObject32* s) {
    if (!name.empty()) name += ' ';
    name += s->Name;
  });
  return name;
}

bool TCell32::HitTest(int32_t x, int32_t y) {
  if (!Shown) return false;
  const int32_t rows = Table.get() != nullptr ? Table->RowHeight : 0;
  return CellX - 20 < x && x < CellX + 80 && CellY < y && y < CellY + rows;
}

std::string TCell32::Describe(int mode) {
  if (mode == kFileLine) {
    // A cell's origin is derived by the expansion, so the file always says none.
    WriteCommonColumns();
    AppendColumn(Text, "0", 56);
    AppendColumn(Text, NumberText(To.get()), 64);
    AppendColumn(Text, RealField(Value, 8), 72);
    AppendColumn(Text, NumberText(Table.get()), 80);
    int column = 80;
    CellStrategies.ForEach([&](TGameObject32* s) {
      column += 8;
      AppendColumn(Text, NumberText(s), column);
    });
    return Text;
  }
  if (mode == kSolverStepsMode || mode == kStoredTextMode) return Text;
  std::string text;
  CellStrategies.ForEach([&](TGameObject32* s) { text += s->Name + " "; });
  if (From.get() != nullptr) text += "@" + From->Name;
  if (Choice.get() != nullptr) text += " for " + Choice->Name;
  Text = text;
  return Text;
}

void TCell32::ParseLine(const std::string& line) {
  TMove32::ParseLine(line);
  TableNumber = ParseIntField(FieldAt(line, 73, 8));
  StrategySet.clear();
  for (int column = 81;; column += 8) {
    const int32_t number = ParseIntField(FieldAt(line, column, 8));
    if (number < 0) break;
    AddStrategyNumber(number);  // every positive number is kept, however many strategies
  }
}

TStrat32* TCell32::StrategyOf(const TSide32* side) {
  TStrat32* found = nullptr;
  int count = 0;
  CellStrategies.ForEach([&](TGameObject32* e) {
    auto* strategy = dynamic_cast<TStrat32*>(e);
    if (strategy != nullptr && strategy->Info.get() == side) {
      found = strategy;
      ++count;
    }
  });
  return count == 1 ? found : nullptr;
}

void TCell32::PutStrategy(TStrat32* strategy) {
  if (strategy == nullptr) return;
  TInfo32* side = strategy->Info.get();
  CellStrategies.ForEach([&](TGameObject32* e) {
    if (As<TChoice32>(e)->Info.get() == side) CellStrategies.Remove(e);
  });
  CellStrategies.Pack();
  CellStrategies.Add(strategy);
}

bool TCell32::IsComplete() {
  TTable32* table = Table.get();
  if (table == nullptr || table->SideCount() < 2) return false;
  bool complete = true;
  table->Sides.ForEach([&](TGameObject32* s) {
    if (StrategyOf(As<TSide32>(s)) == nullptr) complete = false;
  });
  return complete;
}

bool TCell32::Matches(TCell32& other) {
  TTable32* table = Table.get();
  if (table == nullptr) return false;
  bool same = true;
  table->Sides.ForEachAs<TSide32>([&](TSide32* side) {
    if (same && StrategyOf(side) != other.StrategyOf(side)) same = false;
  });
  return same;
}

void TCell32::AddStrategyNumber(int32_t number) {
  if (number < 1) return;
  auto it = std::lower_bound(StrategySet.begin(), StrategySet.end(), number);
  if (it == StrategySet.end() || *it != number) StrategySet.insert(it, number);
}

void TCell32::RelinkToTable() {
  Table = nullptr;
  if (Owner == nullptr) return;
  Owner->Nodes().ForEach([&](TGameObject32* n) {
    if (Table.get() == nullptr && n->TypeCode == kTable && IsStoredNumber(n, TableNumber)) {
      Table = As<TTable32>(n);
    }
  });
  CellStrategies.Clear();
  Owner->Strategies().ForEach([&](TGameObject32* s) {
    if (std::binary_search(StrategySet.begin(), StrategySet.end(), s->Number)) {
      CellStrategies.Add(s);
    }
  });
  TTable32* table = Table.get();
  if (table != nullptr) {
    // Side order, as the rebuild makes them, whatever order the strategies were filed in.
    TGameList ordered;
    table->Sides.ForEach([&](TGameObject32* side) {
      CellStrategies.ForEach([&](TGameObject32* s) {
        if (As<TChoice32>(s)->Info.get() == side) ordered.Add(s);
      });
    });
    CellStrategies.ForEach([&](TGameObject32* s) {
      if (!ordered.Contains(s)) ordered.Add(s);
    });
    CellStrategies.Clear();
    ordered.ForEach([&](TGameObject32* s) { CellStrategies.Add(s); });
  }
  if (table == nullptr || table->SideCount() != CellStrategies.LiveCount()) {
    MarkForRemoval();
  } else if (!table->Cells.Contains(this)) {
    table->Cells.Add(this);
  }
}

void TCell32::Refresh() {
  TTable32* table = Table.get();
  if (table == nullptr || table->SideCount() < 2) return;
  TStrat32* column = StrategyOf(table->SideAt(1));
  TStrat32* row = StrategyOf(table->SideAt(0));
  CellX = column != nullptr ? column->X : 50;
  CellY = row != nullptr ? row->Y - 10 : 50;
  int32_t offset = 0;
  for (int index = 2; index < table->SideCount(); ++index) {
    TSide32* side = table->SideAt(index);
    if (TStrat32* s = StrategyOf(side)) offset += 2 * (side->Choices.PositionOf(s) - 1);
  }
  SliceOffset = offset >= 20 ? 20 : offset;
  CellX += SliceOffset;
  CellY -= SliceOffset;
  if (To.get() != nullptr) {
    ComputeGeometry(CellX, CellY + 10);
  } else {
    X = CellX;
    Y = CellY;
  }
  Shown = true;
  CellStrategies.ForEach([&](TGameObject32* s) {
    if (!s->Shown) Shown = false;
  });
}

void TCell32::Draw(TCanvas& canvas) {
  TTable32* table = Table.get();
  if (table == nullptr || !Shown) return;
  canvas.SetPenColor(kGrey);
  canvas.SetPenWidth(1);
  canvas.SetBrushColor(kWhite);
  canvas.Rectangle(ToScreen(CellX - 20), ToScreen(CellY), ToScreen(CellX + 80) + 1,
                   ToScreen(CellY + table->RowHeight) + 1);
  if (To.get() == nullptr) return;
  canvas.SetBrushColor(kGrey);
  canvas.Ellipse(ToScreen(CellX - 4), ToScreen(CellY + 6), ToScreen(CellX + 4),
                 ToScreen(CellY + 14));
  DrawCurve(canvas, *this, /*solid=*/true);
  FillTriangle(canvas, ArrowHead);
  if (Value < 1) {
    canvas.SetBrushColor(kWhite);
    canvas.SetFontColor(kBlack);
    canvas.TextOut(ToScreen(X + 7), ToScreen(Y - 14), "d= " + FormatPicture(Value));
  }
}

}  // namespace ludomark
