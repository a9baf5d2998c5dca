#include "ui/main_window/qt_actions.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <array>
#include <functional>

#include "model/dcheck.h"

namespace ludomark {

namespace {
using A = TAction;

const std::array<TActionLook, static_cast<std::size_t>(A::Count)>& Looks() {
  static const std::array<TActionLook, static_cast<std::size_t>(A::Count)> looks = {{
      {A::FileNew, "&New", QKeySequence::New, "Create a new file"},
      {A::FileOpen, "&Open", QKeySequence::Open, "Open a file"},
      {A::FileSave, "&Save", QKeySequence::Save, "Save current game"},
      {A::FileSaveAs, "Save &As...", {}, "Save current game with different name"},
      {A::Print, "&Print", QKeySequence::Print, "Print current window"},
      {A::List, "&List", {}, "List the elements of the game"},
      {A::Name, "Na&me", {}, "Give name to current game"},
      {A::Exit, "E&xit", QKeySequence(Qt::CTRL | Qt::Key_Q), "Exit Ludomark"},
      {A::Export, "&Export", {}, "Write the picture to Graphics.bmp and open it"},
      {A::ExportAs, "Export &As...", {}, "Write the picture as PNG, SVG or BMP"},
      {A::DisplayGrid, "&Grid", {}, "Show the grid", true},
      {A::Proba, "&Proba", {}, "Show choice probabilities", true},
      {A::Belief, "&Belief", {}, "Show beliefs", true},
      {A::Expect, "&Expect", {}, "Show expected values", true},
      {A::Fractions, "&Fractions", {}, "Show exact probabilities as fractions", true},
      {A::ZoomIn, "Zoom &In", QKeySequence::ZoomIn, "Zoom in"},
      {A::ZoomOut, "Zoom &Out", QKeySequence::ZoomOut, "Zoom out"},
      {A::Cascade, "&Cascade", {}, "Cascade the windows"},
      {A::Tile, "Tile &Vertically", {}, "Tile the windows vertically"},
      {A::About, "&About...", {}, "About Ludomark"},
      {A::Help, "&Help", QKeySequence::HelpContents, "Help topics"},
      {A::AddPlayer, "&Player", {}, "Create player"},
      {A::AddNode, "&Node", {}, "Create node"},
      {A::AddMove, "&Move", {}, "Create move"},
      {A::AddTable, "&Table", {}, "Create table"},
      {A::AddSide, "&Side", {}, "Add a side to a table"},
      {A::AddSelect, "Selec&tion", {}, "Copy selection"},
      {A::EditPlayer, "&Player", {}, "Edit a player"},
      {A::EditNode, "&Node", {}, "Edit a node"},
      {A::EditMove, "&Move", {}, "Edit a move"},
      {A::EditInfo, "&Info Set", {}, "Edit an information set"},
      {A::EditTable, "&Table", {}, "Rename a table"},
      {A::EditSide, "&Side", {}, "Edit a side of a table"},
      {A::Undo, "&Undo", QKeySequence::Undo, "Undo the last edit"},
      {A::DeletePlayer, "&Player", {}, "Delete a player"},
      {A::DeleteNode, "&Node", {}, "Delete a node"},
      {A::DeleteMove, "&Move", {}, "Delete a move"},
      {A::DeleteTable, "&Table", {}, "Delete a table"},
      {A::DeleteSide, "&Side", {}, "Delete a side of a table"},
      {A::DeleteSelect, "Selec&tion", {}, "Cut selection"},
      {A::Audit, "&Audit", {}, "Check the game"},
      {A::Options, "&Options", {}, "Choose the solve method"},
      {A::Solve, "&Solve", {}, "Solve game"},
      {A::Show, "Sho&w", {}, "Show existing solutions"},
      {A::CloseAll, "&Close All", {}, "Close all solutions"},
      {A::DeleteAll, "&Delete All", {}, "Delete solutions"},
      {A::Debug, "Debu&G", {}, "Trace the solver", true},
      {A::Import, "&Import...", {}, "Open a .efg or .nfg game"},
      {A::ExportGame, "Export &Game...", {}, "Write the game as .efg or .nfg"},
      {A::Redo, "&Redo", QKeySequence(Qt::CTRL | Qt::Key_Y), "Redo the last edit undone"},
      {A::Arrange, "&Arrange", {}, "Lay the tree out anew, level by level"},
  }};
  return looks;
}

QIcon Drawn(const std::function<void(QPainter&)>& draw) {
  QPixmap pixmap(24, 24);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0, 0, 128), 2));
  painter.setBrush(QColor(0, 0, 128));
  draw(painter);
  return QIcon(pixmap);
}
}  // namespace

const TActionLook& LookOf(TAction action) {
  const TActionLook& look = Looks()[static_cast<std::size_t>(action)];
  LUDOMARK_DCHECK(look.Action == action);  // the table follows the order of the actions
  return look;
}

QIcon ToolIcon(TAction action) {
  QStyle* style = QApplication::style();
  switch (action) {
    case A::FileNew:
      return style->standardIcon(QStyle::SP_FileIcon);
    case A::FileOpen:
      return style->standardIcon(QStyle::SP_DialogOpenButton);
    case A::FileSave:
      return style->standardIcon(QStyle::SP_DialogSaveButton);
    case A::Print:
      return style->standardIcon(QStyle::SP_FileDialogDetailedView);
    case A::Help:
      return style->standardIcon(QStyle::SP_DialogHelpButton);
    case A::Exit:
      return style->standardIcon(QStyle::SP_DialogCloseButton);
    case A::AddPlayer:
      return Drawn([](QPainter& p) {
        p.drawEllipse(QPoint(12, 5), 3, 3);
        p.drawLine(12, 8, 12, 15);
        p.drawLine(6, 11, 18, 11);
        p.drawLine(12, 15, 7, 21);
        p.drawLine(12, 15, 17, 21);
      });
    case A::AddNode:
      return Drawn([](QPainter& p) { p.drawEllipse(QPoint(12, 12), 7, 7); });
    case A::AddMove:
      return Drawn([](QPainter& p) {
        p.drawLine(3, 20, 18, 5);
        p.drawPolygon(QPolygon({QPoint(20, 3), QPoint(12, 6), QPoint(17, 11)}));
      });
    case A::AddTable:
      return Drawn([](QPainter& p) {
        p.setBrush(Qt::NoBrush);
        p.drawRect(3, 4, 18, 16);
        p.drawLine(12, 4, 12, 20);
        p.drawLine(3, 12, 21, 12);
      });
    case A::DeleteSelect:
      return style->standardIcon(QStyle::SP_TrashIcon);
    case A::AddSelect:
      return style->standardIcon(QStyle::SP_FileDialogNewFolder);
    case A::Solve:
      return style->standardIcon(QStyle::SP_MediaPlay);
    case A::Show:
      return style->standardIcon(QStyle::SP_FileDialogContentsView);
    case A::CloseAll:
      return style->standardIcon(QStyle::SP_TitleBarCloseButton);
    case A::DeleteAll:
      return style->standardIcon(QStyle::SP_DialogDiscardButton);
    case A::Cascade:
      return style->standardIcon(QStyle::SP_TitleBarNormalButton);
    case A::Tile:
      return style->standardIcon(QStyle::SP_ToolBarVerticalExtensionButton);
    default:
      return {};
  }
}

}  // namespace ludomark
