#include "ui/game_window/qt_game_window.h"

#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <iterator>
#include <utility>

#include "ui/dialogs/qt_message_boxes.h"
#include "ui/view/qt_canvas.h"

namespace ludomark {

namespace {
TMouseButton ButtonOf(const QMouseEvent& event) {
  switch (event.button()) {
    case Qt::LeftButton:
      return TMouseButton::Left;
    case Qt::RightButton:
      return TMouseButton::Right;
    default:
      return TMouseButton::Middle;
  }
}
}  // namespace

QtGameArea::QtGameArea(QtGameWindow& window) : window_(window) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  viewport()->setAutoFillBackground(false);
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this,
          [this](int value) { window_.Logic().HorzFormScroll(value); });
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
          [this](int value) { window_.Logic().VertFormScroll(value); });
}

void QtGameArea::SetExtent(int32_t width, int32_t height) {
  width_ = width;
  height_ = height;
  UpdateRanges();
}

void QtGameArea::UpdateRanges() {
  horizontalScrollBar()->setRange(0, std::max(0, width_ - viewport()->width()));
  horizontalScrollBar()->setPageStep(viewport()->width());
  verticalScrollBar()->setRange(0, std::max(0, height_ - viewport()->height()));
  verticalScrollBar()->setPageStep(viewport()->height());
}

void QtGameArea::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), Qt::white);
  TQtCanvas canvas(painter);
  window_.Logic().FormPaint(canvas, viewport()->width(), viewport()->height());
}

void QtGameArea::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  window_.Logic().FormMouseDown(ButtonOf(*event), at.x(), at.y());
}

void QtGameArea::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  window_.Logic().FormMouseMove(at.x(), at.y());
}

void QtGameArea::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  window_.Logic().FormMouseUp(ButtonOf(*event), at.x(), at.y());
}

void QtGameArea::wheelEvent(QWheelEvent* event) {
  if (event->angleDelta().y() > 0) {
    window_.Logic().FormMouseWheelUp();
  } else if (event->angleDelta().y() < 0) {
    window_.Logic().FormMouseWheelDown();
  }
  event->accept();
}

void QtGameArea::keyPressEvent(QKeyEvent* event) {
  // The keys the picture answers, as the logic names them.
  static constexpr std::pair<int, TKey> kKeys[] = {
      {Qt::Key_Delete, TKey::Delete}, {Qt::Key_Return, TKey::Enter}, {Qt::Key_Enter, TKey::Enter},
      {Qt::Key_Left, TKey::Left},     {Qt::Key_Right, TKey::Right},  {Qt::Key_Up, TKey::Up},
      {Qt::Key_Down, TKey::Down},     {Qt::Key_Menu, TKey::Menu}};
  const auto* found = std::find_if(std::begin(kKeys), std::end(kKeys),
                                   [&](const auto& k) { return k.first == event->key(); });
  // Keys with modifiers and keys the picture leaves alone scroll as in any view.
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (found != std::end(kKeys) && plain && window_.Logic().FormKeyDown(found->second)) {
    event->accept();
    return;
  }
  QAbstractScrollArea::keyPressEvent(event);
}

void QtGameArea::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateRanges();
}

QtGameWindow::QtGameWindow(TWindowKind kind, TMainActions& main, TGameType32* game,
                           TSolution32* solution)
    : pages_(new QStackedWidget(this)), area_(nullptr), memo_(new QPlainTextEdit(this)) {
  setAttribute(Qt::WA_DeleteOnClose);
  logic_ = std::make_unique<TMDIChild>(kind, *this, main, game, solution);
  area_ = new QtGameArea(*this);
  memo_->setReadOnly(true);
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  pages_->addWidget(area_);
  pages_->addWidget(memo_);
  setWidget(pages_);
  connect(this, &QMdiSubWindow::aboutToActivate, this, [this] { logic_->FormActivate(); });
}

QtGameWindow::~QtGameWindow() {
  // The logic (and a game window's document) goes before the widgets it paints on.
  logic_.reset();
}

void QtGameWindow::CapturePointer() {
  area_->viewport()->grabMouse();
}

void QtGameWindow::ReleasePointer() {
  area_->viewport()->releaseMouse();
}

void QtGameWindow::MovePointerTo(int32_t x, int32_t y) {
  QCursor::setPos(area_->viewport()->mapToGlobal(QPoint(x, y)));
}

void QtGameWindow::SetPointerShape(TPointerShape shape) {
  const Qt::CursorShape cursor = shape == TPointerShape::Hand    ? Qt::PointingHandCursor
                                 : shape == TPointerShape::Cross ? Qt::CrossCursor
                                                                 : Qt::ArrowCursor;
  area_->viewport()->setCursor(cursor);
}

void QtGameWindow::OpenPopup(const std::vector<TPopupItem>& items, int32_t x, int32_t y) {
  QMenu menu(this);
  for (const TPopupItem& item : items) {
    QAction* action = menu.addAction(ToQString(item.Caption));
    action->setEnabled(item.Enabled);
    const TWindowCommand command = item.Command;
    connect(action, &QAction::triggered, this, [this, command] { logic_->Execute(command); });
  }
  menu.exec(area_->viewport()->mapToGlobal(QPoint(x, y)));
}

void QtGameWindow::Invalidate() {
  area_->viewport()->update();
}

void QtGameWindow::SetScrollRanges(int32_t width, int32_t height) {
  area_->SetExtent(width, height);
}

int32_t QtGameWindow::ViewWidth() const {
  return area_->viewport()->width();
}

int32_t QtGameWindow::ViewHeight() const {
  return area_->viewport()->height();
}

void QtGameWindow::ScrollTo(int32_t x, int32_t y) {
  area_->horizontalScrollBar()->setValue(x);
  area_->verticalScrollBar()->setValue(y);
}

void QtGameWindow::ShowText(const std::vector<std::string>& lines) {
  QString text;
  for (const std::string& line : lines) {
    text += ToQString(line);
    text += QLatin1Char('\n');
  }
  memo_->setPlainText(text);
  pages_->setCurrentWidget(memo_);
}

void QtGameWindow::ShowPicture() {
  pages_->setCurrentWidget(area_);
}

void QtGameWindow::SetCaption(const std::string& caption) {
  // The desktop's mark of unsaved work, an asterisk, stands where "[*]" is while it applies.
  setWindowTitle(ToQString(caption) + QStringLiteral("[*]"));
}

void QtGameWindow::SetModified(bool modified) {
  setWindowModified(modified);
}

void QtGameWindow::closeEvent(QCloseEvent* event) {
  if (!logic_->FormCloseQuery()) {
    event->ignore();
    return;
  }
  logic_->FormClose();
  QMdiSubWindow::closeEvent(event);
}

}  // namespace ludomark
