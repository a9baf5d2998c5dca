#include "ui/dialogs/info_dialog.h"

#include <exception>

#include "model/status_code.h"
#include "ui/dialogs/element_names.h"

namespace ludomark {

bool TInfoDlg::Setup(TNode32& anchor) {
  game_ = As<TGameForm32>(anchor.Owner);
  anchor_ = &anchor;
  candidates_.clear();
  events_.clear();
  if (game_ == nullptr) return false;
  game_->Nodes().ForEachAs<TNode32>([&](TNode32* n) {
    if (n == &anchor || n->Player.get() == nullptr || n->Info.get() != nullptr) return;
    if (n->Player.get() != anchor.Player.get()) return;
    candidates_.push_back(n);
  });
  try {
    if (TInfo32* set = anchor.Info.get()) {
      set->Relink();
      set->Members.ForEachAs<TNode32>([&](TNode32* n) { events_.push_back(n); });
    } else {
      events_.push_back(&anchor);
    }
  } catch (const std::exception&) {
    game_->Messages().Warning("Error creating events list.");
  }
  return candidates_.size() + events_.size() >= 2;
}

void TInfoDlg::AddBtnClick(int candidateRow) {
  if (candidateRow < 0 || candidateRow >= static_cast<int>(candidates_.size())) return;
  events_.push_back(candidates_[static_cast<std::size_t>(candidateRow)]);
  candidates_.erase(candidates_.begin() + candidateRow);
  game_->SetStatus(StatusEdited);
}

void TInfoDlg::DeleteBtnClick(int eventRow) {
  if (eventRow < 0 || eventRow >= static_cast<int>(events_.size())) return;
  if (events_[static_cast<std::size_t>(eventRow)] == anchor_) {
    game_->Messages().Warning("Cannot delete access node");
    return;
  }
  candidates_.push_back(events_[static_cast<std::size_t>(eventRow)]);
  events_.erase(events_.begin() + eventRow);
  game_->SetStatus(StatusEdited);
}

void TInfoDlg::OKBtnClick() {
  try {
    TInfo32* set = anchor_->Info.get();
    if (events_.size() <= 1) {
      if (set == nullptr) return;
      set->Members.ForEachAs<TNode32>([](TNode32* n) { n->SetInfo(nullptr); });
      // Nodes the set names without being among its members let go of it too.
      game_->Nodes().ForEachAs<TNode32>([&](TNode32* n) {
        if (n->Info.get() == set) n->SetInfo(nullptr);
      });
      set->Members.Clear();
      game_->Infos().FreeElementOf(set);
      return;
    }
    if (set == nullptr) {
      set = NewElement<TInfo32>(game_);
      game_->Infos().Add(set);
    }
    set->Members.ForEachAs<TNode32>([](TNode32* n) { n->SetInfo(nullptr); });
    for (TNode32* n : events_) n->SetInfo(set);
    set->Relink();
  } catch (const std::exception&) {
    game_->Messages().Warning("Error handling events.");
  }
}

}  // namespace ludomark
