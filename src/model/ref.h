#pragma once

#include <cstddef>

#include "model/dcheck.h"

namespace ludomark {

class TGameObject32;
class TGameList;

// A non-owning link to an element. The element knows every link that points at it and empties
// them all when it is destroyed, so a link can be empty but never dangling.
class RefBase {
 public:
  RefBase() = default;
  RefBase(const RefBase&) = delete;
  RefBase& operator=(const RefBase&) = delete;
  ~RefBase() { Detach(); }

 protected:
  void Attach(TGameObject32* target);
  void Detach();
  void MoveFrom(RefBase& other) noexcept;

  TGameObject32* target_ = nullptr;
  TGameList* list_ = nullptr;  // set for list entries, so the list learns about new holes

 private:
  friend class TGameObject32;
  friend class TGameList;
  std::size_t slot_ = 0;  // position of this link in the target's referrer table
};

template <class T>
class Ref : public RefBase {
 public:
  Ref() = default;
  Ref(T* target) { Attach(target); }  // NOLINT: links are assigned from plain pointers everywhere
  Ref(const Ref& other) : RefBase() {
    list_ = other.list_;
    Attach(other.target_);
  }
  Ref(Ref&& other) noexcept : RefBase() {
    list_ = other.list_;
    MoveFrom(other);
  }
  Ref& operator=(const Ref& other) {
    if (this != &other) Attach(other.target_);
    return *this;
  }
  Ref& operator=(Ref&& other) noexcept {
    if (this != &other) MoveFrom(other);
    return *this;
  }
  Ref& operator=(T* target) {
    Attach(target);
    return *this;
  }

  T* get() const { return static_cast<T*>(target_); }
  operator T*() const { return get(); }  // NOLINT: reads like the plain pointer it replaces
  T* operator->() const {
    LUDOMARK_DCHECK(target_ != nullptr);
    return get();
  }

 private:
  friend class TGameList;
};

}  // namespace ludomark
