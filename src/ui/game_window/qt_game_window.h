#pragma once

#include <QAbstractScrollArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <memory>

#include "ui/game_window/game_window.h"

namespace ludomark {

class QtGameWindow;

// The scrolling drawing area of a picture window: pointer and wheel events in, painting out.
class QtGameArea : public QAbstractScrollArea {
 public:
  explicit QtGameArea(QtGameWindow& window);
  void SetExtent(int32_t width, int32_t height);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void UpdateRanges();

  QtGameWindow& window_;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

// A child window of the main window, every kind: a thin adapter that carries toolkit events to
// the window's logic and does what the logic asks.
class QtGameWindow : public QMdiSubWindow, public TWindowHost {
 public:
  QtGameWindow(TWindowKind kind, TMainActions& main, TGameType32* game = nullptr,
               TSolution32* solution = nullptr);
  ~QtGameWindow() override;

  TMDIChild& Logic() { return *logic_; }
  // False while the window goes: its logic has gone before its widgets.
  bool HasLogic() const { return logic_ != nullptr; }
  QtGameArea& Area() { return *area_; }
  QPlainTextEdit& Memo() { return *memo_; }

  void CapturePointer() override;
  void ReleasePointer() override;
  void MovePointerTo(int32_t x, int32_t y) override;
  void SetPointerShape(TPointerShape shape) override;
  void OpenPopup(const std::vector<TPopupItem>& items, int32_t x, int32_t y) override;
  void Invalidate() override;
  void SetScrollRanges(int32_t width, int32_t height) override;
  void ScrollTo(int32_t x, int32_t y) override;
  void ShowText(const std::vector<std::string>& lines) override;
  void ShowPicture() override;
  void SetCaption(const std::string& caption) override;
  void SetModified(bool modified) override;
  int32_t ViewWidth() const override;
  int32_t ViewHeight() const override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QStackedWidget* pages_;
  QtGameArea* area_;
  QPlainTextEdit* memo_;
  std::unique_ptr<TMDIChild> logic_;
};

}  // namespace ludomark
