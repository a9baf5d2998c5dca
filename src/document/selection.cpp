#include "document/game_form.h"
#include "model/info.h"
#include "model/move.h"
#include "model/table.h"

namespace ludomark {

bool TGameForm32::SelectInRect() {
  selection_.Clear();
  TSelectRect& rect = *selectRect_;
  const TRect bounds{rect.X, rect.Y, rect.X + rect.W, rect.Y + rect.H};
  for (TGameList* list : {&players_, &nodes_, &moves_, &infos_}) {
    list->ForEach([&](TGameObject32* e) {
      if (!e->InRect(bounds)) return;
      const int code = e->TypeCode;
      if (code != kNode && code != kTable && code != kMove && code != kInfo) return;
      selection_.Add(e);
      e->DragDX = e->X - rect.X;
      e->DragDY = e->Y - rect.Y;
    });
  }
  return !selection_.Empty();
}

void TGameForm32::DeleteSelection() {
  // Moves go first, so that the nodes they left become deletable.
  selection_.ForEach([](TGameObject32* e) {
    if (e->TypeCode == kMove) e->MarkForRemoval();
  });
  selection_.ForEach([&](TGameObject32* e) {
    if (e->TypeCode == kRemoved) selection_.Remove(e);
  });
  moves_.FreeByType(kRemoved);

  selection_.ForEach([&](TGameObject32* e) {
    if ((e->TypeCode != kNode && e->TypeCode != kTable) || !e->CanDelete()) return;
    if (e->TypeCode == kNode) {
      // Moves that reached the node stay, unconnected, where the node stood.
      moves_.ForEachAs<TMove32>([&](TMove32* move) {
        if (move->To.get() != e) return;
        move->To = nullptr;
        move->SetPosition(e->X, e->Y);
      });
      auto* node = As<TNode32>(e);
      if (node->Info.get() != nullptr) node->Info->Members.Remove(node);
    }
    e->MarkForRemoval();
  });
  selection_.ForEach([&](TGameObject32* e) {
    if (e->TypeCode == kRemoved) selection_.Remove(e);
  });
  nodes_.FreeByType(kRemoved);
  PurgeInfos(/*keepSingle=*/false);

  selection_.Clear();
  selectRect_->Temporary = true;
  SetStatus(StatusEdited);
}

void TGameForm32::CopySelection() {
  for (TGameList* list : {&players_, &nodes_, &infos_, &moves_, &strategies_}) {
    list->ForEach([](TGameObject32* e) { e->CopyLink = nullptr; });
  }
  // The copy of a node if that node was copied, else the node itself.
  auto mapped = [](TNode32* node) -> TNode32* {
    if (node == nullptr || node->CopyLink.get() == nullptr) return node;
    return As<TNode32>(node->CopyLink.get());
  };

  selection_.ForEach([&](TGameObject32* e) {
    if (e->TypeCode != kNode) return;
    auto* copy = NewElement<TNode32>(this);
    e->CopyTo(*copy);
    e->CopyLink = copy;
    nodes_.Add(copy);
  });
  selection_.ForEach([&](TGameObject32* e) {
    if (e->TypeCode != kInfo) return;
    auto* source = As<TInfo32>(e);
    auto* copy = NewElement<TInfo32>(this);
    source->CopyTo(*copy);
    source->CopyLink = copy;
    source->Members.ForEach([&](TGameObject32* member) {
      if (selection_.Contains(member) && member->CopyLink.get() != nullptr) {
        As<TNode32>(member->CopyLink.get())->SetInfo(copy);
      }
    });
    copy->Relink();
    infos_.Add(copy);
  });
  selection_.ForEach([&](TGameObject32* e) {
    if (e->TypeCode != kMove) return;
    auto* source = As<TMove32>(e);
    auto* copy = NewElement<TMove32>(this);
    source->CopyLink = copy;
    moves_.Add(copy);
    source->CopyTo(*copy);
    copy->From = mapped(source->From.get());
    if (copy->To.get() != nullptr) copy->To = mapped(source->To.get());
    copy->Refresh();
  });
  selection_.ForEach([&](TGameObject32* e) {
    if (e->TypeCode != kTable) return;
    auto* copy = NewElement<TTable32>(this);
    e->CopyTo(*copy);
    e->CopyLink = copy;
    nodes_.Add(copy);
    copy->Refresh();
  });

  selection_.Clear();
  TSelectRect& rect = *selectRect_;
  // Copies land 20 to the right and below their sources when the rectangle is put back.
  for (TGameList* list : {&nodes_, &infos_, &moves_}) {
    list->ForEach([&](TGameObject32* e) {
      TGameObject32* copy = e->CopyLink.get();
      if (copy == nullptr || e->TypeCode == kSide || e->TypeCode == kCell) return;
      selection_.Add(copy);
      copy->DragDX = copy->X - (rect.X - 20);
      copy->DragDY = copy->Y - (rect.Y - 20);
      copy->Name = e->Name;
    });
  }
  SetStatus(StatusEdited);
}

}  // namespace ludomark
