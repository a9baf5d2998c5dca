#include "model/game_list.h"

#include <algorithm>

namespace ludomark {

TGameList::~TGameList() {
  if (owning_) {
    for (std::size_t i = 0; i < items_.size(); ++i) {
      TGameObject32* element = items_[i].get();
      if (element == nullptr) continue;
      items_[i] = nullptr;
      FreeElement(element);
    }
  }
  items_.clear();
}

void TGameList::Add(TGameObject32* element) {
  items_.emplace_back();
  items_.back().list_ = this;
  items_.back() = element;
  if (element == nullptr) holes_ = true;
}

void TGameList::Remove(const TGameObject32* element) {
  const int index = IndexOf(element);
  if (index >= 0) items_[static_cast<std::size_t>(index)] = nullptr;
}

int TGameList::IndexOf(const TGameObject32* element) const {
  if (element == nullptr) return -1;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].get() == element) return static_cast<int>(i);
  }
  return -1;
}

TGameObject32* TGameList::Get(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<std::size_t>(index)].get();
}

void TGameList::Put(int index, TGameObject32* element) {
  if (index < 0 || index >= Count()) return;
  items_[static_cast<std::size_t>(index)] = element;
  if (element == nullptr) holes_ = true;
}

int TGameList::LiveCount() const {
  if (!holes_) return Count();
  int live = 0;
  for (const auto& entry : items_) live += entry.get() != nullptr ? 1 : 0;
  return live;
}

void TGameList::Clear() {
  items_.clear();
  holes_ = false;
}

void TGameList::Pack() {
  // Packing under a walk would shift the entries the walk is about to visit.
  if (!holes_ || walking_ > 0) return;
  items_.erase(std::remove_if(items_.begin(), items_.end(),
                              [](const Ref<TGameObject32>& e) { return e.get() == nullptr; }),
               items_.end());
  holes_ = false;
}

void TGameList::FreeByType(int code) {
  Pack();
  for (std::size_t i = 0; i < items_.size(); ++i) {
    TGameObject32* element = items_[i].get();
    if (element == nullptr || (code != 0 && element->TypeCode != code)) continue;
    items_[i] = nullptr;
    FreeElement(element);
  }
  Pack();
}

void TGameList::FreeElementOf(TGameObject32* element) {
  Remove(element);
  FreeElement(element);
}

int TGameList::PositionOf(const TGameObject32* element) const {
  if (element == nullptr) return 0;
  int position = 0;
  for (const auto& entry : items_) {
    if (entry.get() == nullptr) continue;
    ++position;
    if (entry.get() == element) return position;
  }
  return 0;
}

TGameObject32* TGameList::ElementAt(int position) {
  if (position < 1) return nullptr;
  Pack();
  if (!holes_)
    return position <= Count() ? items_[static_cast<std::size_t>(position - 1)].get() : nullptr;
  int seen = 0;
  for (const auto& entry : items_) {
    if (entry.get() != nullptr && ++seen == position) return entry.get();
  }
  return nullptr;
}

TGameObject32* TGameList::First() {
  for (const auto& entry : items_) {
    if (entry.get() != nullptr) return entry.get();
  }
  return nullptr;
}

TGameObject32* TGameList::Last() {
  for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
    if (it->get() != nullptr) return it->get();
  }
  return nullptr;
}

}  // namespace ludomark
