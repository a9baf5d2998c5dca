#include "document/game_form.h"

#include <algorithm>

#include "document/drawn_box.h"
#include "model/info.h"
#include "model/type_codes.h"

namespace ludomark {

TGameForm32::TGameForm32()
    : header_(NewElement<TGameObject32>(this)), selectRect_(NewElement<TSelectRect>(this)) {
  header_->SetPosition(50, 50);
}

TGameForm32::~TGameForm32() {
  closing_ = true;
  header_.reset();
  selectRect_.reset();
  Work.reset();
  workList_.Clear();
  selection_.Clear();
  // Nodes go before moves, sets and strategies, so tables free their own sides, cells and
  // strategies first.
  for (TGameList* list :
       {&players_, &nodes_, &moves_, &infos_, &payoffs_, &strategies_, &findings_, &solutions_,
        &pendingBits_, &profiles_, &groups_, &solverLog_, &boundBits_}) {
    list->FreeByType(kEveryType);
  }
}

void TGameForm32::SetStatus(int code) {
  if (code == StatusSaved || status_ != StatusNew) status_ = code;
  pending_.Add(TChange::Status);
}

void TGameForm32::ForceStatus(int code) {
  status_ = code;
  pending_.Add(TChange::Status);
}

void TGameForm32::SetRunWorking(bool working) {
  if (runWorking_ == working) return;
  runWorking_ = working;
  Changed(TChange::Run);
}

void TGameForm32::Watch(TDocumentObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
    observers_.push_back(observer);
  }
}

void TGameForm32::Unwatch(TDocumentObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void TGameForm32::Changed(TChange change) {
  pending_.Add(change);
  if (editDepth_ > 0) return;
  ++editDepth_;
  EndEdit();
}

void TGameForm32::EndEdit() {
  if (editDepth_ == 0 || --editDepth_ > 0) return;
  // An observer acting on the news (a repaint, an undo point) changes nothing; should one change
  // something all the same, that is told as a round of its own, a few rounds at most.
  constexpr int kMaxRounds = 3;
  // A table's layout follows the whole game (its rows are as tall as the players are many): laid
  // out at the end of every command, the game is what its text reads back as, painted or not.
  if (!pending_.Empty()) {
    nodes_.ForEach([](TGameObject32* n) {
      if (n->TypeCode == kTable) n->Refresh();
    });
  }
  for (int round = 0; round < kMaxRounds && !pending_.Empty(); ++round) {
    const TChanges changes = pending_;
    pending_ = TChanges();
    ++notifications_;
    ++editDepth_;
    // A copy: an observer may leave while it is told.
    const std::vector<TDocumentObserver*> observers = observers_;
    for (TDocumentObserver* o : observers) {
      if (std::find(observers_.begin(), observers_.end(), o) != observers_.end()) {
        o->DocumentChanged(*this, changes);
      }
    }
    --editDepth_;
  }
}

void TGameForm32::SetFileName(const std::string& name) {
  fileName_ = name;
  hasFileName_ = true;
}

void TGameForm32::AddObject(TGameObject32* element) {
  if (element == nullptr) return;
  switch (element->TypeCode) {
    case kPlayer:
      players_.Add(element);
      break;
    case kNode:
    case kTable:
      nodes_.Add(element);
      break;
    case kMove:
    case kCell:
      moves_.Add(element);
      break;
    case kInfo:
    case kSide:
      infos_.Add(element);
      break;
    case kPayoff:
      payoffs_.Add(element);
      break;
    case kStrategy:
      strategies_.Add(element);
      break;
    case kSolution:
      solutions_.Add(element);
      break;
    case 801:
    case 802:
    case 803:
    case 804:
    case 812:
    case 813:
      pendingBits_.Add(element);
      break;
    default:
      break;
  }
  if (element->X >= ExtentX) ExtentX = element->X + 10;
  if (element->Y >= ExtentY) ExtentY = element->Y + 10;
}

bool TGameForm32::IsSaved(const TGameObject32* e) {
  if (e->Temporary || e->TypeCode == kChoice) return false;
  return e->TypeCode != kInfo || !As<const TInfo32>(e)->Derived;
}

void TGameForm32::SetFileNumbering(bool on) {
  fileNumbering_ = on;
  if (!on) return;
  // Numbered once, so that writing a line does not walk a list for every reference.
  for (TGameList* list : {&players_, &nodes_, &moves_, &infos_, &strategies_, &solutions_}) {
    int32_t position = 0;
    list->ForEach([&](TGameObject32* e) { e->Number = IsSaved(e) ? ++position : 0; });
  }
}

int32_t TGameForm32::NumberIn(TGameList& list, const TGameObject32* element) {
  if (!fileNumbering_) return list.PositionOf(element);
  return element != nullptr && IsSaved(element) ? element->Number : 0;
}

TGameObject32* TGameForm32::ElementAsRead(TGameList& list, int32_t number, bool& gone) {
  gone = false;
  const std::vector<Ref<TGameObject32>>* read = nullptr;
  if (relinking_ && &list == &moves_) read = &movesAsRead_;
  if (relinking_ && &list == &strategies_) read = &strategiesAsRead_;
  if (read == nullptr) return list.ElementAt(number);
  if (number < 1 || static_cast<std::size_t>(number) > read->size()) return nullptr;
  TGameObject32* element = (*read)[static_cast<std::size_t>(number) - 1].get();
  gone = element == nullptr;
  return element;
}

void TGameForm32::ClearDerivedLists() {
  workList_.Clear();
  for (TGameList* list :
       {&findings_, &solutions_, &pendingBits_, &profiles_, &groups_, &solverLog_, &boundBits_}) {
    list->FreeByType(kEveryType);
  }
}

void TGameForm32::Renumber() {
  // Each element's number is its position in its list, counted here in one walk.
  for (TGameList* list : {&players_, &nodes_, &moves_, &infos_, &strategies_}) {
    int32_t position = 0;
    list->ForEach([&](TGameObject32* e) { e->Number = ++position; });
  }
}

void TGameForm32::Draw(TCanvas& canvas, const TRect* view) {
  selectRect_->Draw(canvas);
  for (TGameList* list : {&players_, &nodes_, &moves_, &infos_, &strategies_, &payoffs_}) {
    list->ForEach([&](TGameObject32* e) {
      if (view == nullptr || Overlaps(DrawnBox(e), *view)) e->Draw(canvas);
    });
  }
}

void TGameForm32::ReportFinding(const std::string& message) {
  auto* finding = NewElement<TBug>(this);
  finding->SetName(message);
  findings_.Add(finding);
  lastFinding_ = finding;
}

void TGameForm32::FreeGame() {
  selection_.Clear();
  workList_.Clear();
  for (TGameList* list : {&players_, &nodes_, &payoffs_, &strategies_, &moves_, &infos_}) {
    list->FreeByType(kEveryType);
  }
  ExactNumbers.clear();
  Changed(TChange::Structure);
}

}  // namespace ludomark
