#pragma once

#include <cstddef>
#include <vector>

#include "model/game_object.h"

namespace ludomark {

// An ordered list of elements. An owning list destroys what it still holds when it is destroyed;
// a view list only forgets. An entry becomes empty when its element is destroyed elsewhere or
// removed; empty entries are packed out before each walk.
// The type-code filter that takes every element.
constexpr int kEveryType = 0;

class TGameList {
 public:
  explicit TGameList(bool owning = false) : owning_(owning) {}
  TGameList(const TGameList&) = delete;
  TGameList& operator=(const TGameList&) = delete;
  ~TGameList();

  bool Owning() const { return owning_; }
  void SetOwning(bool owning) { owning_ = owning; }

  void Add(TGameObject32* element);
  // Empties the entry of the element (the element survives); later walks skip it.
  void Remove(const TGameObject32* element);
  int IndexOf(const TGameObject32* element) const;  // raw index, -1 when absent
  TGameObject32* Get(int index) const;              // raw entry, may be empty
  void Put(int index, TGameObject32* element);
  int Count() const { return static_cast<int>(items_.size()); }  // raw, empty entries included
  bool Empty() const { return LiveCount() == 0; }
  int LiveCount() const;
  void Clear();
  void Pack();

  // Calls visit(element) for every element present when the walk starts, in order. Elements
  // appended during the walk are not visited; elements destroyed during it are skipped.
  template <class F>
  void ForEach(F&& visit) {
    Pack();
    const std::size_t count = items_.size();
    WalkGuard guard(*this);
    for (std::size_t i = 0; i < count && i < items_.size(); ++i) {
      if (TGameObject32* element = items_[i].get()) visit(element);
    }
  }

  // The same walk for a list whose elements are all known to be T (checked by As).
  template <class T, class F>
  void ForEachAs(F&& visit) {
    ForEach([&](TGameObject32* element) { visit(As<T>(element)); });
  }

  // Takes out and destroys every element of the type code (every element for kEveryType).
  void FreeByType(int code);
  // Takes the element out of the list and destroys it.
  void FreeElementOf(TGameObject32* element);
  bool Contains(const TGameObject32* element) const { return IndexOf(element) >= 0; }
  // 1-based position among the elements present, 0 when absent.
  int PositionOf(const TGameObject32* element) const;
  // Element at a 1-based position among those present; nothing when out of range.
  TGameObject32* ElementAt(int position);
  // First element present, or nothing.
  TGameObject32* First();
  TGameObject32* Last();

  // Called by links when an entry becomes empty.
  void MayHaveHoles() { holes_ = true; }

 private:
  struct WalkGuard {
    explicit WalkGuard(TGameList& l) : list(l) { ++list.walking_; }
    ~WalkGuard() { --list.walking_; }
    TGameList& list;
  };

  bool owning_;
  bool holes_ = false;
  int walking_ = 0;
  std::vector<Ref<TGameObject32>> items_;
};

// The elements of a list, each known to be a T, in list order.
template <class T>
std::vector<T*> ElementsOf(TGameList& list) {
  std::vector<T*> elements;
  list.ForEachAs<T>([&](T* element) { elements.push_back(element); });
  return elements;
}

}  // namespace ludomark
