#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ludomark {

enum class TPointerShape { Default, Hand, Cross };

// The element commands of the popup menus.
enum class TWindowCommand {
  DeleteSelect,
  CopySelect,
  Redraw,
  DeletePlayer,
  EditPlayer,
  DeleteMove,
  EditMove,
  EditPayoff,
  EditName,
  ShowCells,
  SideEdit,
  SideDelete,
  DeleteNode,
  EditNode,
  InfoSet,
  EditTable,
  DeleteTable,
  AddSide,
  EditCell,
  RedrawCell,
};

struct TPopupItem {
  std::string Caption;
  TWindowCommand Command;
  bool Enabled = true;
};

// What a game window's logic asks of the toolkit. Points are client pixels of the window's
// drawing area.
class TWindowHost {
 public:
  virtual ~TWindowHost() = default;
  virtual void CapturePointer() = 0;
  virtual void ReleasePointer() = 0;
  virtual void MovePointerTo(int32_t x, int32_t y) = 0;
  virtual void SetPointerShape(TPointerShape shape) = 0;
  // Opens the menu at the point; a chosen item comes back as the window's Execute.
  virtual void OpenPopup(const std::vector<TPopupItem>& items, int32_t x, int32_t y) = 0;
  virtual void Invalidate() = 0;
  // The scroll ranges of a picture, in pixels.
  virtual void SetScrollRanges(int32_t width, int32_t height) = 0;
  // Moves the scroll bars to the positions, in pixels.
  virtual void ScrollTo(int32_t x, int32_t y) = 0;
  // Text windows show their lines in a read-only text filling the window; pictures hide it.
  virtual void ShowText(const std::vector<std::string>& lines) = 0;
  virtual void ShowPicture() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // Whether the window's game has changes its file does not hold (the title marks them).
  virtual void SetModified(bool /*modified*/) {}
  // The size of the drawing area shown, in pixels.
  virtual int32_t ViewWidth() const { return 0; }
  virtual int32_t ViewHeight() const { return 0; }
};

}  // namespace ludomark
