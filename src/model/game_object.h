#pragma once

#include <cstdint>
#include <string>
#include <typeinfo>
#include <vector>

#include "model/geometry.h"
#include "model/ref.h"
#include "model/type_codes.h"

namespace ludomark {

class TFakeGame;

// Modes of Describe, which are also the kinds of listing: the items of the four listings (the
// findings, every element, the solver's steps, a solution's audit), the stored text, the file
// line and the short text of an element inside another's text or a message.
constexpr int kFlawedListMode = 1;
constexpr int kSolvableListMode = 2;
constexpr int kSolverStepsMode = 3;
constexpr int kAuditSolutionMode = 4;
constexpr int kStoredTextMode = 5;
constexpr int kFileLine = 6;
constexpr int kShortText = 7;
class TCanvas;
class TGameValue;

// Base of every element of a game.
class TGameObject32 {
 public:
  TGameObject32() = default;
  TGameObject32(const TGameObject32&) = delete;
  TGameObject32& operator=(const TGameObject32&) = delete;
  virtual ~TGameObject32();

  std::string Name;
  int32_t TypeCode = 0;
  int32_t X = 0;
  int32_t Y = 0;
  int32_t DragDX = 0;
  int32_t DragDY = 0;
  int32_t Level = 0;
  int32_t Number = 0;
  bool Done = false;
  bool Settled = false;
  bool Temporary = false;
  bool Mark = false;
  double UpperBound = 0;
  double LowerBound = 0;
  int32_t Color = 0;
  std::string LineBuffer;
  std::string Text;
  TFakeGame* Owner = nullptr;
  bool Shown = false;
  Ref<TGameObject32> CopyLink;

  // Virtual operations, in their fixed order.
  virtual void CopyTo(TGameObject32& dest);
  void Assign(TGameObject32& source) { source.CopyTo(*this); }
  virtual void InitDefaults();
  virtual void SetPosition(int32_t x, int32_t y);
  virtual bool HitTest(int32_t x, int32_t y);
  virtual bool InRect(const TRect& rect);
  virtual TRect RedrawRect(int32_t x, int32_t y, bool withLinks);
  virtual int32_t Renumber();
  virtual bool CanDelete();
  virtual std::string Describe(int mode);
  virtual void ParseLine(const std::string& line);
  virtual bool Relink();
  virtual void Refresh();
  virtual void Draw(TCanvas& canvas);

  void SetName(const std::string& text);
  void SetDragAnchor(int32_t ax, int32_t ay);
  void SetSettled(bool value);
  void SetBound(bool upper, double value);
  void MarkForRemoval() { TypeCode = kRemoved; }
  // The audit's bound bit of this element for the player, only once the bounds are known.
  TGameValue* FindBoundBit(bool upper, const TGameObject32* player);

  // Empties every link that points at this element; done before it is released.
  void DetachReferrers();

 protected:
  // The columns every file record starts with (name, position, number, type code) into Text;
  // a record whose parent class adds columns of its own starts from these instead.
  void WriteCommonColumns();

 private:
  friend class RefBase;
  std::vector<RefBase*> referrers_;
};

// Allocates an element, gives it its class's defaults and then its document.
template <class T>
T* NewElement(TFakeGame* owner) {
  T* element = new T();
  element->InitDefaults();
  element->Owner = owner;
  return element;
}

// The element as the class it is known to be: checked in the sanitizer build, a plain cast
// elsewhere. Nothing stays nothing.
template <class T, class U>
T* As(U* element) {
  LUDOMARK_DCHECK(element == nullptr || dynamic_cast<T*>(element) != nullptr);
  return static_cast<T*>(element);
}

// Releases an element; every link to it is emptied.
void FreeElement(TGameObject32* element);

// True when the reference is empty or its exact class is T (a subclass does not match).
template <class T>
bool IsNilOrClass(const TGameObject32* ref) {
  return ref == nullptr || typeid(*ref) == typeid(T);
}

// Appends a field's text and pads (or cuts) the line to the field's last column.
void AppendColumn(std::string& line, const std::string& value, int lastColumn);
// The identity number of a linked element as written in a file: 0 when there is none.
std::string NumberText(TGameObject32* element);
// Whether a number read from a file names the element by the number read from its own line;
// numbers below 1 (blank or damaged fields) name nothing.
inline bool IsStoredNumber(const TGameObject32* element, int32_t number) {
  return number >= 1 && element->Number == number;
}

// Removes trailing blanks (code 32 only).
std::string TrimRight(const std::string& text);

// A finding of the audit or a line of a log or listing: a name and nothing more.
class TBug : public TGameObject32 {};

}  // namespace ludomark
