#include <unordered_map>
#include <unordered_set>

#include "document/game_form.h"
#include "model/cell.h"
#include "model/info.h"
#include "model/move.h"
#include "model/side.h"
#include "model/strat.h"
#include "model/table.h"

namespace ludomark {

namespace {

std::vector<Ref<TGameObject32>> Snapshot(TGameList& list) {
  std::vector<Ref<TGameObject32>> items;
  list.ForEach([&](TGameObject32* e) { items.emplace_back(e); });
  return items;
}

}  // namespace

void TGameForm32::RelinkAfterLoad() {
  // Values name moves and strategies by their position in the file; cells and strategies
  // dropped below must not shift those positions onto other elements.
  movesAsRead_ = Snapshot(moves_);
  strategiesAsRead_ = Snapshot(strategies_);
  relinking_ = true;
  nodes_.ForEach([](TGameObject32* n) { n->Relink(); });
  moves_.ForEach([](TGameObject32* m) { m->Relink(); });
  RelinkInfos(/*keepSingle=*/false);

  infos_.ForEach([](TGameObject32* i) {
    if (i->TypeCode == kSide) As<TSide32>(i)->RelinkToTable();
  });
  strategies_.ForEach([](TGameObject32* s) { s->Relink(); });
  strategies_.FreeByType(kRemoved);
  moves_.ForEach([](TGameObject32* m) {
    if (m->TypeCode == kCell) As<TCell32>(m)->RelinkToTable();
  });
  moves_.FreeByType(kRemoved);
  nodes_.ForEach([](TGameObject32* n) {
    if (n->TypeCode != kTable) return;
    auto* table = As<TTable32>(n);
    table->RebuildCells();
    table->Refresh();
    table->EnterCells();
  });

  payoffs_.ForEach([](TGameObject32* p) {
    if (!p->Relink()) p->MarkForRemoval();
  });
  payoffs_.FreeByType(kRemoved);

  if (!solutions_.Empty() && !pendingBits_.Empty()) {
    // A value that finds its solution and element joins that solution; the rest is dropped.
    pendingBits_.ForEach([&](TGameObject32* bit) {
      if (bit->Relink()) pendingBits_.Remove(bit);
    });
    pendingBits_.FreeByType(kEveryType);
    SetStatus(StatusSolvedSaved);
  } else {
    SetStatus(StatusSaved);
  }
  relinking_ = false;
  movesAsRead_.clear();
  strategiesAsRead_.clear();
}

std::vector<TInfo32*> TGameForm32::RelinkEveryInfo() {
  // Members and reach gathered in one pass each, rather than one walk of the lists per set.
  std::unordered_map<const TGameObject32*, std::vector<TNode32*>> members;
  nodes_.ForEachAs<TNode32>([&](TNode32* node) {
    if (node->Info.get() != nullptr) members[node->Info.get()].push_back(node);
  });
  std::unordered_set<const TGameObject32*> reached;
  moves_.ForEach([&](TGameObject32* e) {
    if (TGameObject32* to = As<TMove32>(e)->To.get()) reached.insert(to);
  });
  std::vector<TInfo32*> failed;
  static const std::vector<TNode32*> kNone;
  infos_.ForEachAs<TInfo32>([&](TInfo32* info) {
    auto it = members.find(info);
    const bool ok = info->RelinkWith(it != members.end() ? it->second : kNone,
                                     [&](TNode32* n) { return reached.count(n) != 0; });
    if (!ok) failed.push_back(info);
  });
  return failed;
}

void TGameForm32::RelinkInfos(bool keepSingle) {
  for (TInfo32* info : RelinkEveryInfo()) {
    ReportFinding("Unreachable node at " + info->Describe(kShortText));
  }
  PurgeInfos(keepSingle);
}

void TGameForm32::PurgeInfos(bool keepSingle) {
  infos_.ForEach([&](TGameObject32* e) {
    if (e->TypeCode != kInfo) return;
    const int members = As<TInfo32>(e)->Members.LiveCount();
    if (members == 0 || (members == 1 && !keepSingle)) e->MarkForRemoval();
  });
  infos_.FreeByType(kRemoved);
}

void TGameForm32::ResetDerived() {
  for (TGameList* list : {&profiles_, &groups_, &solutions_, &pendingBits_})
    list->FreeByType(kEveryType);
  SolutionsIncomplete = false;
  strategies_.ForEachAs<TChoice32>([](TChoice32* choice) {
    choice->ChoiceMoves.ForEach([](TGameObject32* m) { As<TMove32>(m)->Choice = nullptr; });
    choice->ChoiceMoves.Clear();
  });
  strategies_.FreeByType(kChoice);
  PurgeInfos(/*keepSingle=*/false);
  infos_.ForEach([](TGameObject32* e) {
    if (e->TypeCode == kSide) As<TSide32>(e)->Members.Clear();
  });
  moves_.ForEach([](TGameObject32* m) {
    if (m->TypeCode == kMove && m->Temporary) m->MarkForRemoval();
  });
  moves_.FreeByType(kRemoved);
  nodes_.ForEach([](TGameObject32* n) {
    if (n->TypeCode == kNode && n->Temporary) n->MarkForRemoval();
  });
  nodes_.FreeByType(kRemoved);
  moves_.ForEach([](TGameObject32* m) {
    if (m->TypeCode == kCell) As<TCell32>(m)->From = nullptr;
  });
  SetStatus(StatusSaved);
}

}  // namespace ludomark
