#include "ui/main_window/qt_main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "model/settings.h"
#include "ui/dialogs/qt_dialog_parts.h"
#include "ui/main_window/qt_actions.h"
#include "ui/view/picture.h"
#include "ui/view/qt_canvas.h"

namespace ludomark {

namespace {
using A = TAction;
}  // namespace

QtMainWindow::QtMainWindow(std::string openAtStart, std::string helpPath)
    : area_(new QMdiArea(this)),
      messages_(this),
      runner_(this),
      openAtStart_(std::move(openAtStart)) {
  setWindowTitle(QStringLiteral("Ludomark"));
  setCentralWidget(area_);
  statusBar();
  MakeActions();
  form_ = std::make_unique<TMainForm>(*this, runner_, messages_, std::move(helpPath));
  solveView_ = std::make_unique<QtSolveDialog>(this, form_->SolveDialog());
  MakeMenus();
  MakeToolBar();
  // The frame keeps its own title: a maximised game window adds "[its caption]" to it.
}

QtMainWindow::~QtMainWindow() {
  // The child windows hold the games; they go while the logic they report to still lives.
  for (QMdiSubWindow* window : area_->subWindowList()) delete window;
  solveView_.reset();
}

void QtMainWindow::MakeActions() {
  for (std::size_t i = 0; i < actions_.size(); ++i) {
    const TActionLook& look = LookOf(static_cast<TAction>(i));
    auto* action = new QAction(QString::fromUtf8(look.Caption), this);
    action->setShortcut(look.Shortcut);
    if (look.Action == A::Redo) {
      action->setShortcuts({look.Shortcut, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    }
    action->setStatusTip(QString::fromUtf8(look.Hint));
    action->setToolTip(QString::fromUtf8(look.Hint));
    action->setCheckable(look.Checkable);
    action->setIcon(ToolIcon(look.Action));
    action->setIconVisibleInMenu(false);
    actions_[i] = action;
  }
  const auto on = [this](TAction action, auto command) {
    connect(Action(action), &QAction::triggered, this, [this, command] { command(*form_); });
  };
  on(A::FileNew, [](TMainForm& f) { f.FileNew(); });
  on(A::FileOpen, [](TMainForm& f) { f.FileOpen(); });
  on(A::FileSave, [](TMainForm& f) { f.FileSave(); });
  on(A::FileSaveAs, [](TMainForm& f) { f.FileSaveAs(); });
  on(A::Import, [](TMainForm& f) { f.Import(); });
  on(A::ExportGame, [](TMainForm& f) { f.ExportGame(); });
  on(A::Print, [](TMainForm& f) { f.Print(); });
  on(A::List, [](TMainForm& f) { f.List(); });
  on(A::Name, [](TMainForm& f) { f.Name(); });
  on(A::Exit, [](TMainForm& f) { f.Exit(); });
  on(A::Export, [](TMainForm& f) { f.Export(); });
  on(A::ExportAs, [](TMainForm& f) { f.ExportAs(); });
  on(A::DisplayGrid, [](TMainForm& f) { f.ToggleGrid(); });
  on(A::Proba, [](TMainForm& f) { f.ToggleValues(A::Proba); });
  on(A::Belief, [](TMainForm& f) { f.ToggleValues(A::Belief); });
  on(A::Expect, [](TMainForm& f) { f.ToggleValues(A::Expect); });
  on(A::Fractions, [](TMainForm& f) { f.ToggleFractions(); });
  on(A::ZoomIn, [](TMainForm& f) { f.ZoomIn(); });
  on(A::ZoomOut, [](TMainForm& f) { f.ZoomOut(); });
  on(A::Cascade, [](TMainForm& f) { f.Cascade(); });
  on(A::Tile, [](TMainForm& f) { f.Tile(); });
  on(A::About, [](TMainForm& f) { f.About(); });
  on(A::Help, [](TMainForm& f) { f.Help(); });
  on(A::AddPlayer, [](TMainForm& f) { f.AddPlayer(); });
  on(A::AddNode, [](TMainForm& f) { f.AddNode(); });
  on(A::AddMove, [](TMainForm& f) { f.AddMove(); });
  on(A::AddTable, [](TMainForm& f) { f.AddTable(); });
  on(A::AddSide, [](TMainForm& f) { f.AddSide(); });
  on(A::AddSelect, [](TMainForm& f) { f.AddSelect(); });
  on(A::EditPlayer, [](TMainForm& f) { f.EditPlayer(); });
  on(A::EditNode, [](TMainForm& f) { f.EditNode(); });
  on(A::EditMove, [](TMainForm& f) { f.EditMove(); });
  on(A::EditInfo, [](TMainForm& f) { f.EditInfo(); });
  on(A::EditTable, [](TMainForm& f) { f.EditTable(); });
  on(A::EditSide, [](TMainForm& f) { f.EditSide(); });
  on(A::Undo, [](TMainForm& f) { f.Undo(); });
  on(A::Redo, [](TMainForm& f) { f.Redo(); });
  on(A::Arrange, [](TMainForm& f) { f.Arrange(); });
  on(A::DeletePlayer, [](TMainForm& f) { f.DeletePlayer(); });
  on(A::DeleteNode, [](TMainForm& f) { f.DeleteNode(); });
  on(A::DeleteMove, [](TMainForm& f) { f.DeleteMove(); });
  on(A::DeleteTable, [](TMainForm& f) { f.DeleteTable(); });
  on(A::DeleteSide, [](TMainForm& f) { f.DeleteSide(); });
  on(A::DeleteSelect, [](TMainForm& f) { f.DeleteSelect(); });
  on(A::Audit, [](TMainForm& f) { f.AuditGame(); });
  on(A::Options, [](TMainForm& f) { f.Options(); });
  on(A::Solve, [](TMainForm& f) { f.Solve(); });
  on(A::Show, [](TMainForm& f) { f.Show(); });
  on(A::CloseAll, [](TMainForm& f) { f.CloseAllSolutions(); });
  on(A::DeleteAll, [](TMainForm& f) { f.DeleteAll(); });
  on(A::Debug, [](TMainForm& f) { f.ToggleDebug(); });
}

void QtMainWindow::MakeMenus() {
  QMenuBar* bar = menuBar();
  auto menu = [&](const char* caption, std::initializer_list<A> items, const char* hint) {
    QMenu* m = bar->addMenu(QString::fromUtf8(caption));
    m->menuAction()->setStatusTip(QString::fromUtf8(hint));
    for (A item : items) {
      if (item == A::Count) {
        m->addSeparator();
      } else {
        m->addAction(Action(item));
      }
    }
    return m;
  };
  constexpr A kSeparator = A::Count;
  QMenu* file =
      menu("&File",
           {A::FileNew, A::FileOpen, A::FileSave, A::FileSaveAs, kSeparator, A::Import,
            A::ExportGame, kSeparator, A::Print, kSeparator, A::List, A::Name, kSeparator, A::Exit},
           "File related commands");
  // The two developer listings stay out of sight, reachable by their shortcuts only.
  auto* showTest = new QAction(QStringLiteral("Show Test"), this);
  showTest->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
  connect(showTest, &QAction::triggered, this, [this] { form_->ShowTest(); });
  auto* showDebug = new QAction(QStringLiteral("Show Debug"), this);
  showDebug->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
  connect(showDebug, &QAction::triggered, this, [this] { form_->ShowDebug(); });
  addAction(showTest);
  addAction(showDebug);
  // The games of the last sessions, listed afresh each time the menu opens.
  auto* recent = new QMenu(QStringLiteral("Recent &Files"), file);
  recent->menuAction()->setStatusTip(QStringLiteral("Open a game opened or saved lately"));
  file->insertMenu(Action(A::FileSave), recent);
  connect(recent, &QMenu::aboutToShow, this, [this, recent] {
    recent->clear();
    const std::vector<std::string> paths = form_->RecentFiles().Paths();
    for (std::size_t i = 0; i < paths.size(); ++i) {
      const QString path = QString::fromStdString(paths[i]);
      QAction* item = recent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
          QString(path).replace(QLatin1Char('&'), QStringLiteral("&&"))));
      connect(item, &QAction::triggered, this,
              [this, path] { form_->FileOpen(path.toStdString()); });
    }
    if (paths.empty()) recent->addAction(QStringLiteral("No recent games"))->setEnabled(false);
  });
  menu("&Add",
       {A::AddPlayer, A::AddNode, A::AddMove, kSeparator, A::AddTable, A::AddSide, kSeparator,
        A::AddSelect},
       "Add elements to the game");
  menu("&Edit",
       {A::EditPlayer, A::EditNode, A::EditMove, A::EditInfo, kSeparator, A::EditTable, A::EditSide,
        kSeparator, A::Undo, A::Redo},
       "Edit elements of the game");
  menu("&Delete",
       {A::DeletePlayer, A::DeleteNode, A::DeleteMove, kSeparator, A::DeleteTable, A::DeleteSide,
        kSeparator, A::DeleteSelect},
       "Delete elements of the game");
  QMenu* display =
      menu("Displa&y", {A::Export, A::ExportAs, A::DisplayGrid, A::Arrange}, "Display");
  QMenu* values = display->addMenu(QStringLiteral("&Values"));
  for (A item : {A::Proba, A::Belief, A::Expect, A::Fractions}) values->addAction(Action(item));
  menu("&Solution",
       {A::Audit, A::Options, kSeparator, A::Solve, A::Show, A::CloseAll, A::DeleteAll},
       "Solve commands");
  addAction(Action(A::Debug));  // invisible, by its shortcut
  Action(A::Debug)->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G));
  menu("&Help", {A::About, A::Help}, "Help topics");
  addAction(Action(A::ZoomIn));
  addAction(Action(A::ZoomOut));
  addAction(Action(A::Cascade));
  addAction(Action(A::Tile));
}

void QtMainWindow::MakeToolBar() {
  QToolBar* tools = addToolBar(QStringLiteral("Tools"));
  tools->setObjectName(QStringLiteral("tools"));
  for (A item : {A::FileNew, A::FileOpen, A::FileSave, A::Print}) tools->addAction(Action(item));
  tools->addSeparator();
  for (A item : {A::AddPlayer, A::AddNode, A::AddMove, A::AddTable}) {
    tools->addAction(Action(item));
  }
  tools->addSeparator();
  tools->addAction(Action(A::DeleteSelect));
  tools->addAction(Action(A::AddSelect));
  tools->addSeparator();
  for (A item : {A::Solve, A::Show, A::CloseAll, A::DeleteAll}) tools->addAction(Action(item));
  tools->addSeparator();
  tools->addAction(Action(A::Cascade));
  tools->addAction(Action(A::Tile));
  zoom_ = new QSpinBox(this);
  zoom_->setRange(80, 160);
  zoom_->setSingleStep(5);
  zoom_->setValue(100);
  zoom_->setSuffix(QStringLiteral(" %"));
  zoom_->setToolTip(QStringLiteral("Zoom in and out"));
  zoom_->setStatusTip(QStringLiteral("Zoom in and out"));
  // The box shows the one zoom the views use: what is spun or typed goes to the logic, and the
  // box follows every change of the zoom, from the wheel too (ViewChanged).
  connect(zoom_, &QSpinBox::valueChanged, this,
          [this](int value) { form_->SetZoom(static_cast<double>(value) / 100); });
  tools->addWidget(zoom_);
  tools->addSeparator();
  tools->addAction(Action(A::Help));
  tools->addAction(Action(A::Exit));
}

QtGameWindow* QtMainWindow::ViewOf(TMDIChild& window) {
  for (QMdiSubWindow* sub : area_->subWindowList()) {
    auto* view = dynamic_cast<QtGameWindow*>(sub);
    if (view != nullptr && view->HasLogic() && &view->Logic() == &window) return view;
  }
  return nullptr;
}

TMDIChild& QtMainWindow::CreateChild(TWindowKind kind, TGameType32* game, TSolution32* solution) {
  auto* view = new QtGameWindow(kind, *form_, game, solution);
  area_->addSubWindow(view);
  view->showMaximized();
  // A new window comes to the front and takes the keyboard, however many are open.
  view->raise();
  area_->setActiveSubWindow(view);
  view->setFocus();
  return view->Logic();
}

void QtMainWindow::ShowStatus(const std::string& text) {
  statusBar()->showMessage(ToQString(text));
}

void QtMainWindow::ViewChanged() {
  if (zoom_ == nullptr) return;
  const QSignalBlocker quiet(zoom_);
  zoom_->setValue(static_cast<int>(std::lround(Zoom * 100)));
}

bool QtMainWindow::CloseChild(TMDIChild& window) {
  QtGameWindow* view = ViewOf(window);
  if (view == nullptr) return true;
  if (!view->close()) return false;
  delete view;  // now, so that the logic never lists a window that is gone
  return true;
}

TMDIChild* QtMainWindow::ActiveChild() {
  QMdiSubWindow* current = area_->currentSubWindow();
  if (current == nullptr) current = area_->activeSubWindow();
  auto* view = dynamic_cast<QtGameWindow*>(current);
  return view != nullptr && view->HasLogic() ? &view->Logic() : nullptr;
}

void QtMainWindow::Activate(TMDIChild& window) {
  if (QtGameWindow* view = ViewOf(window)) area_->setActiveSubWindow(view);
}

// Cascaded windows keep three quarters of the area each, so that every picture stays readable.
void QtMainWindow::Cascade() {
  const QSize size = area_->viewport()->size() * 3 / 4;
  int offset = 0;
  for (QMdiSubWindow* w : area_->subWindowList()) {
    w->showNormal();
    w->setGeometry(offset, offset, size.width(), size.height());
    w->raise();
    offset += 28;
  }
  if (QMdiSubWindow* active = area_->activeSubWindow()) active->raise();
}

void QtMainWindow::TileVertically() {
  const QList<QMdiSubWindow*> windows = area_->subWindowList();
  if (windows.isEmpty()) return;
  const int width = area_->viewport()->width() / static_cast<int>(windows.size());
  int x = 0;
  for (QMdiSubWindow* w : windows) {
    w->showNormal();
    w->setGeometry(x, 0, width, area_->viewport()->height());
    x += width;
  }
}

std::string QtMainWindow::AskOpenPath() {
  // The game file first, as ever; trees and tables of the exchange formats open as imports.
  return FromQString(QFileDialog::getOpenFileName(
      this, QStringLiteral("Open"), QString(),
      QStringLiteral("lmx file (*lmx*);;Game trees and tables (*.efg *.nfg)")));
}

std::string QtMainWindow::AskSavePath() {
  QFileDialog dialog(this, QStringLiteral("Save As"), QString(),
                     QStringLiteral("lmx file (*lmx*)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("lmx"));
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.selectFile(QStringLiteral("*"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return "";
  return FromQString(dialog.selectedFiles().front());
}

void QtMainWindow::WritePicture(TGameType32& game, TSolution32* solution, const std::string& path,
                                double zoom) {
  ludomark::WritePicture(game, solution, path,
                         TPictureOptions{zoom, /*Grid=*/false, /*Trim=*/false});
}

std::string QtMainWindow::AskPicturePath() {
  return FromQString(QFileDialog::getSaveFileName(
      this, QStringLiteral("Export As"), QStringLiteral("picture.png"),
      QStringLiteral("PNG picture (*.png);;SVG drawing (*.svg);;BMP picture (*.bmp)")));
}

std::string QtMainWindow::AskImportPath() {
  return FromQString(QFileDialog::getOpenFileName(
      this, QStringLiteral("Import"), QString(),
      QStringLiteral(
          "Game trees and tables (*.efg *.nfg);;Game trees (*.efg);;Game tables (*.nfg)")));
}

std::string QtMainWindow::AskExportPath() {
  return FromQString(
      QFileDialog::getSaveFileName(this, QStringLiteral("Export Game"), QString(),
                                   QStringLiteral("Game tree (*.efg);;Game table (*.nfg)")));
}

void QtMainWindow::ActionChanged(TAction action, bool enabled, bool checked) {
  QAction* a = Action(action);
  if (a == nullptr) return;
  a->setEnabled(enabled);
  if (a->isCheckable()) a->setChecked(checked);
}

bool QtMainWindow::PrintWindow(TMDIChild& window, bool portrait) {
  QPrinter printer;
  printer.setPageOrientation(QPageLayout::Landscape);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return false;
  return PrintOn(printer, window, portrait);
}

bool QtMainWindow::PrintOn(QPrinter& printer, TMDIChild& window, bool portrait) {
  QtGameWindow* view = ViewOf(window);
  if (view == nullptr) return false;
  printer.setPageOrientation(portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
  if (window.IsText()) {
    view->Memo().print(&printer);
    return true;
  }
  QPainter painter(&printer);
  if (!painter.isActive()) return false;
  TSolution32* solution = window.Kind() == TWindowKind::Solution ? window.Solution() : nullptr;
  PaintToPage(painter, painter.viewport(), window.Game(), solution);
  return true;
}

bool QtMainWindow::OpenWithDesktop(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(path)));
}

void QtMainWindow::ShowHelpText(const std::string& path) {
  auto* browser = new QTextBrowser;
  browser->setAttribute(Qt::WA_DeleteOnClose);
  browser->setWindowTitle(QStringLiteral("Ludomark Help"));
  browser->setSource(QUrl::fromLocalFile(ToQString(path)));
  browser->resize(800, 600);
  browser->show();
}

void QtMainWindow::ShowAbout() {
  ShowAboutBox(this, /*asSplash=*/false);
}

// During a run, closing stops it and waits in the event loop: the run's end closes the window
// again (the logic answers no until then).
void QtMainWindow::closeEvent(QCloseEvent* event) {
  if (form_->CloseAll()) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool QtMainWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && !openAtStart_.empty()) {
    const std::string path = std::move(openAtStart_);
    openAtStart_.clear();
    QTimer::singleShot(0, this, [this, path] { form_->FirstActivation(path); });
  }
  return QMainWindow::event(event);
}

void ShowAboutBox(QWidget* parent, bool asSplash) {
  auto* box =
      new QDialog(parent, asSplash ? Qt::SplashScreen | Qt::FramelessWindowHint : Qt::Dialog);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowTitle(QStringLiteral("About Ludomark"));
  auto* layout = new QVBoxLayout(box);
  auto* icon = new QLabel(box);
  icon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
  icon->setAlignment(Qt::AlignCenter);
  auto* name = new QLabel(QStringLiteral("<b><big>Ludomark</big></b>"), box);
  auto* line = new QLabel(QStringLiteral("for Game Theory v. 4"), box);
  auto* more = new QLabel(
      QStringLiteral("Draw a game, solve it, and read every equilibrium on the picture."), box);
  for (QLabel* label : {name, line, more}) label->setAlignment(Qt::AlignCenter);
  layout->addWidget(icon);
  layout->addWidget(name);
  layout->addWidget(line);
  layout->addWidget(more);
  if (asSplash) {
    box->setFixedHeight(185);
    box->show();
    QTimer::singleShot(3000, box, &QDialog::close);
    return;
  }
  auto* ok = OkCancelButtons(box, /*withCancel=*/false);
  QObject::connect(ok, &QDialogButtonBox::accepted, box, &QDialog::accept);
  layout->addWidget(ok);
  box->exec();
}

}  // namespace ludomark
