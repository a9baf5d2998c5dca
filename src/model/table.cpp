#include "model/table.h"

#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/colors.h"
#include "model/drawing.h"
#include "model/fake_game.h"
#include "model/player.h"
#include "model/side.h"
#include "model/strat.h"

namespace ludomark {

TTable32::~TTable32() {
  // Sides first: each frees the cells holding its strategies while the cell list still stands.
  Sides.FreeByType(kEveryType);
  Cells.FreeByType(kEveryType);
  CurrentCell.reset();
}

void TTable32::InitDefaults() {
  TNode32::InitDefaults();
  TypeCode = kTable;
  SetName("Table");
  Color = kGrey;
  Sides.Clear();
  Cells.Clear();
  CurrentCell.reset(NewElement<TCell32>(nullptr));
  CurrentCell->Table = this;
}

std::string TTable32::Describe(int mode) {
  if (mode != kFileLine) return TNode32::Describe(mode);
  // Its player and set are the audit's, taken from the first side: the file holds neither.
  WriteCommonColumns();
  AppendColumn(Text, "0", 56);
  AppendColumn(Text, "0", 64);
  return Text;
}

TSide32* TTable32::SideAt(int index) {
  return As<TSide32>(Sides.ElementAt(index + 1));
}

TSide32* TTable32::NextSide(const TSide32* side) {
  if (side == nullptr) return SideAt(0);
  const int position = Sides.PositionOf(side);
  return position > 0 ? SideAt(position) : nullptr;
}

TRect TTable32::RedrawRect(int32_t x, int32_t y, bool withLinks) {
  TRect r = TNode32::RedrawRect(x, y, withLinks);
  r.Right = x + ToScreen(Width + 80);
  r.Bottom = y + ToScreen(Height + 80);
  return r;
}

void TTable32::CopyTo(TGameObject32& dest) {
  TNode32::CopyTo(dest);
  auto* table = dynamic_cast<TTable32*>(&dest);
  if (table == nullptr || Owner == nullptr) return;
  Sides.ForEachAs<TSide32>([&](TSide32* source) {
    auto* side = NewElement<TSide32>(Owner);
    table->Sides.Add(side);
    Owner->AddObject(side);
    side->Player = source->Player.get();
    side->Name = source->Name;
    side->Table = table;
    source->Choices.ForEach([&](TGameObject32* s) {
      auto* strategy = NewElement<TStrat32>(Owner);
      strategy->Name = s->Name;
      strategy->Info = side;
      s->CopyLink = strategy;
      side->AddChoice(strategy);
    });
    side->EnterStrategies();
  });
  Cells.ForEach([&](TGameObject32* e) {
    auto* cell = NewElement<TCell32>(Owner);
    e->CopyTo(*cell);
    cell->Table = table;
    table->Cells.Add(cell);
  });
  table->EnterCells();
}

void TTable32::RebuildCells() {
  CurrentCell->Owner = Owner;
  Sides.ForEach([&](TGameObject32* s) {
    As<TSide32>(s)->Choices.ForEach([&](TGameObject32* c) { c->CopyLink = c; });
  });
  const int sides = SideCount();
  Cells.ForEachAs<TCell32>([&](TCell32* cell) {
    if (sides < 2 || !cell->IsComplete() || cell->CellStrategies.LiveCount() != sides) {
      Cells.Remove(cell);
      FreeElement(cell);
    }
  });
  Cells.Pack();
  CurrentCell->CellStrategies.Clear();
  if (sides < 2) return;
  // Each combination is looked up among the cells present rather than compared with every
  // one of them: a table of a million cells is built in one pass.
  std::set<std::vector<const TStrat32*>> present;
  Cells.ForEachAs<TCell32>([&](TCell32* cell) { present.insert(StrategiesOf(*cell)); });
  CreateMissingCells(0, present);
}

std::vector<const TStrat32*> TTable32::StrategiesOf(TCell32& cell) {
  std::vector<const TStrat32*> strategies;
  Sides.ForEachAs<TSide32>([&](TSide32* side) { strategies.push_back(cell.StrategyOf(side)); });
  return strategies;
}

void TTable32::CreateMissingCells(int sideIndex, std::set<std::vector<const TStrat32*>>& present) {
  TSide32* side = SideAt(sideIndex);
  if (side == nullptr) {
    if (!present.insert(StrategiesOf(*CurrentCell)).second) return;
    auto* cell = NewElement<TCell32>(Owner);
    CurrentCell->CopyTo(*cell);
    cell->Table = this;
    Cells.Add(cell);
    // A new element: it cannot be among the document's moves yet.
    if (Owner != nullptr) Owner->Moves().Add(cell);
    return;
  }
  side->Choices.ForEach([&](TGameObject32* s) {
    CurrentCell->PutStrategy(As<TStrat32>(s));
    CreateMissingCells(sideIndex + 1, present);
  });
}

void TTable32::Expand() {
  TSide32* first = SideAt(0);
  if (first == nullptr || SideCount() < 2 || Owner == nullptr) return;
  CurrentCell->Owner = Owner;
  Player = first->Player.get();
  if (!first->Members.Contains(this)) first->Members.Add(this);
  Info = first;
  CurrentCell->CellStrategies.Clear();
  // Each cell by its strategies, so that a leaf of the expansion finds its cell at once (the
  // last cell listed wins, as a walk over the cells would find it).
  CellsByStrategies cells;
  Cells.ForEachAs<TCell32>([&](TCell32* cell) {
    if (cell->Table.get() == this) cells[StrategiesKey(*cell)] = cell;
  });
  ExpandFrom(first, this, cells);
}

std::string TTable32::StrategiesKey(TCell32& cell) {
  std::string key;
  Sides.ForEachAs<TSide32>([&](TSide32* side) {
    const auto address = reinterpret_cast<std::uintptr_t>(cell.StrategyOf(side));
    key.append(reinterpret_cast<const char*>(&address), sizeof address);
  });
  return key;
}

void TTable32::ExpandFrom(TSide32* side, TNode32* node, const CellsByStrategies& cells) {
  TSide32* next = NextSide(side);
  side->Choices.ForEachAs<TStrat32>([&](TStrat32* strategy) {
    CurrentCell->PutStrategy(strategy);
    TMove32* move = nullptr;
    if (next != nullptr) {
      move = NewElement<TMove32>(Owner);
      move->Temporary = true;
      Owner->Moves().Add(move);
      auto* child = NewElement<TNode32>(Owner);
      child->Temporary = true;
      child->Player = next->Player.get();
      child->Info = next;
      next->Members.Add(child);
      Owner->Nodes().Add(child);
      move->To = child;
      ExpandFrom(next, child, cells);
    } else if (const auto it = cells.find(StrategiesKey(*CurrentCell)); it != cells.end()) {
      move = it->second;
    }
    if (move != nullptr) {
      move->From = node;
      move->Name = strategy->Name;
      move->Choice = strategy;
      strategy->ChoiceMoves.Add(move);
    }
  });
}

void TTable32::RemoveSide(TSide32* side) {
  if (side == nullptr || !Sides.Contains(side)) return;
  // While it still is one of the sides, so that its cells really go.
  side->FreeCellsOfStrategies();
  side->WithdrawStrategies();
  if (Owner != nullptr) Owner->Infos().Remove(side);
  Sides.Remove(side);
  FreeElement(side);
  Sides.Pack();
  Cells.Pack();
}

void TTable32::EnterCells() {
  if (Owner == nullptr) return;
  // Sets, not list searches: a large table enters and leaves in one pass over the moves.
  TGameList& moves = Owner->Moves();
  std::unordered_set<const TGameObject32*> entered;
  moves.ForEach([&](TGameObject32* m) { entered.insert(m); });
  Cells.ForEach([&](TGameObject32* c) {
    if (entered.insert(c).second) moves.Add(c);
  });
}

void TTable32::WithdrawCells() {
  if (Owner == nullptr) return;
  std::unordered_set<const TGameObject32*> cells;
  Cells.ForEach([&](TGameObject32* c) { cells.insert(c); });
  TGameList& moves = Owner->Moves();
  for (int i = 0; i < moves.Count(); ++i) {
    if (cells.contains(moves.Get(i))) moves.Put(i, nullptr);
  }
}

void TTable32::RemapCells(TInfo32& side) {
  Cells.ForEachAs<TCell32>([&](TCell32* cell) {
    TGameList mapped;
    cell->CellStrategies.ForEach([&](TGameObject32* s) {
      // Only the edited side's links mean anything now; a strategy it no longer has drops.
      if (!side.Choices.Contains(s)) {
        mapped.Add(s);
      } else if (TGameObject32* link = s->CopyLink.get()) {
        mapped.Add(link);
      }
    });
    cell->CellStrategies.Clear();
    mapped.ForEach([&](TGameObject32* s) { cell->CellStrategies.Add(s); });
  });
}

bool TTable32::HasPlayerWithoutSide() {
  if (Owner == nullptr) return false;
  bool free = false;
  Owner->Players().ForEach([&](TGameObject32* p) {
    bool owns = false;
    Sides.ForEach([&](TGameObject32* s) {
      if (As<TSide32>(s)->Player.get() == p) owns = true;
    });
    if (!owns) free = true;
  });
  return free;
}

void TTable32::Refresh() {
  RowHeight = (Owner != nullptr ? Owner->Players().LiveCount() : 0) * 20;
  // Without sides the width starts from nothing rather than from the last layout.
  Width = 0;
  int index = 0;
  int32_t tallest = 0;
  Sides.ForEachAs<TSide32>([&](TSide32* side) {
    const int32_t count = side->StrategyCount();
    if (index == 0) {
      Width = 110;
      side->SetPosition(X + 10, Y + 50);
    } else if (index == 1) {
      side->SetPosition(X + Width, Y + 10);
      Width += 100 * count;
    } else {
      side->SetPosition(X + Width + 10, Y + 50);
      Width += 100;
    }
    if (index != 1 && count > tallest) tallest = count;
    ++index;
  });
  Height = RowHeight * tallest + 100;
  Sides.ForEach([&](TGameObject32* s) { s->Refresh(); });
  Cells.ForEach([&](TGameObject32* c) { c->Refresh(); });
  if (Width <= 100) Width += 100;
}

void TTable32::Draw(TCanvas& canvas) {
  canvas.SetPenColor(Color);
  canvas.SetPenWidth(ToScreen(5));
  canvas.SetFontColor(Color);
  canvas.SetBrushColor(kWhite);
  Refresh();
  canvas.RoundRect(ToScreen(X), ToScreen(Y), ToScreen(X + Width), ToScreen(Y + Height),
                   ToScreen(10), ToScreen(10));
  canvas.SetFontSize(ToScreen(8));
  canvas.TextOut(ToScreen(X - 5), ToScreen(Y - 5), Name + " ");
  // A line before each further side, whose slice the table shows.
  for (int index = 2; index < SideCount(); ++index) {
    const int32_t x = ToScreen(SideAt(index)->X - 10);
    canvas.MoveTo(x, ToScreen(Y));
    canvas.LineTo(x, ToScreen(Y + Height));
  }
}

}  // namespace ludomark
