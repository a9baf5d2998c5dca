// The real main window, offscreen: menus and dialogs for a whole session, and a picture of it.
#include "ui/main_window/qt_main_window.h"

#include <unistd.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "gamefile/exchange_file.h"
#include "gamefile/game_file.h"
#include "model/settings.h"
#include "model/status_code.h"
#include "support/random_games.h"
#include "support/run_cli.h"
#include "ui/dialogs/qt_player_dialog.h"

using namespace ludomark;
namespace fs = std::filesystem;

namespace {
// Presses the button in the next `boxes` question boxes as they show; looks for each for five
// seconds at most.
void Answer(QMessageBox::StandardButton button, int boxes = 1, int tries = 500) {
  QTimer::singleShot(10, [button, boxes, tries] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      if (tries > 0) Answer(button, boxes, tries - 1);
      return;
    }
    box->button(button)->click();
    if (boxes > 1) Answer(button, boxes - 1);
  });
}
void AnswerYes() {
  Answer(QMessageBox::Yes);
}

// Counts the paint events of a widget.
class PaintCounter : public QObject {
 public:
  int Paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++Paints;
    return false;
  }
};
}  // namespace

class QtMainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void SessionThroughMenusAndDialogs() {
    const fs::path dir =
        fs::temp_directory_path() / ("ludomark-qt-session-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path game = dir / "bluff.lmx";
    fs::copy_file(fs::path(LUDOMARK_EXAMPLES_DIR) / "bluff.lmx", game);

    QtMainWindow window("", (dir / "help.html").string());
    window.resize(1200, 800);
    window.show();
    TMainForm& form = window.Form();
    form.FileOpen(game.string());
    QCOMPARE(window.Area().subWindowList().size(), 1);
    // File > Recent Files lists it, newest first, when the menu opens.
    QMenu* recent = nullptr;
    for (QMenu* menu : window.findChildren<QMenu*>()) {
      if (menu->title() == QStringLiteral("Recent &Files")) recent = menu;
    }
    QVERIFY(recent != nullptr);
    emit recent->aboutToShow();
    QVERIFY(!recent->actions().isEmpty());
    QVERIFY(recent->actions().front()->text().endsWith(QString::fromStdString(game.string())));
    TGameType32& doc = form.ActiveGameWindow().Game();
    const int players = doc.Players().LiveCount();

    // Add > Player through the real dialog: a name typed, a colour clicked, Enter.
    QTimer::singleShot(0, [] {
      QWidget* modal = QApplication::activeModalWidget();
      auto* dialog = dynamic_cast<QtPlayerDialog*>(modal);
      if (dialog == nullptr) {
        // Whatever is open closes, so the test fails now rather than at the watchdog.
        if (auto* other = qobject_cast<QDialog*>(modal)) other->reject();
        QFAIL("the player dialog is not shown");
      }
      QTest::keyClicks(&dialog->NameEdit(), QStringLiteral("Cy"));
      QTest::mouseClick(dialog->Swatch(2), Qt::LeftButton);
      QTest::keyClick(dialog, Qt::Key_Return);
    });
    window.Action(TAction::AddPlayer)->trigger();
    QCOMPARE(doc.Players().LiveCount(), players + 1);
    QCOMPARE(doc.Status(), static_cast<int>(StatusEdited));
    window.Action(TAction::Undo)->trigger();
    QCOMPARE(doc.Players().LiveCount(), players);
    window.Action(TAction::FileSave)->trigger();
    QCOMPARE(doc.Status(), static_cast<int>(StatusSaved));

    // Solve, then show the first solution over the picture.
    window.Action(TAction::Solve)->trigger();
    QTRY_COMPARE(doc.Status(), static_cast<int>(StatusSolved));
    QVERIFY(!window.Action(TAction::AddNode)->isEnabled());
    QVERIFY(window.Action(TAction::Show)->isEnabled());
    form.SolveDialog().SolutionBoxClick(0);
    form.SolveDialog().ShowBtnClick();
    QCOMPARE(window.Area().subWindowList().size(), 2);
    form.SolveDialog().CloseBtnClick();
    // Printing the solution view to a PDF file, as a print dialog would choose.
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((dir / "print.pdf").string()));
    QVERIFY(window.PrintOn(printer, *form.Windows().back(), /*portrait=*/false));
    QVERIFY(fs::file_size(dir / "print.pdf") > 1000);
    // The picture of the README: the solution view over its game.
    window.Area().activeSubWindow()->showMaximized();
    QApplication::processEvents();
    window.grab().save(QStringLiteral("main_window.png"));

    // Delete All answers a question: yes, and the file holds the game without solutions.
    AnswerYes();
    window.Action(TAction::DeleteAll)->trigger();
    QCOMPARE(doc.Status(), static_cast<int>(StatusSaved));
    QCOMPARE(window.Area().subWindowList().size(), 1);
    TGameType32 reread;
    QVERIFY(ReadGameFile(game.string(), reread));
    QVERIFY(reread.Solutions().Empty());
    QCOMPARE(reread.Players().LiveCount(), players);
    fs::remove_all(dir);
  }

  void RepaintsOrderZoomAndExitDuringARun() {
    const fs::path dir =
        fs::temp_directory_path() / ("ludomark-qt-trust-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* name : {"bluff.lmx", "battle_of_the_sexes.lmx", "prisoners_dilemma.lmx"}) {
      fs::copy_file(fs::path(LUDOMARK_EXAMPLES_DIR) / name, dir / name);
    }
    // A 9 x 9 table takes long enough to exit in the middle of its run.
    {
      TGameType32 table;
      const fs::path nfg = dir / "table.nfg";
      std::ofstream(nfg) << testing::RandomTableNfg(9, 9, 3);
      ReadExchangeFile(nfg.string(), table);
      WriteGameFile((dir / "table.lmx").string(), table);
    }
    QtMainWindow window("", (dir / "help.html").string());
    window.resize(1200, 800);
    window.show();
    TMainForm& form = window.Form();
    // Each new window comes to the front, active.
    for (const char* name : {"bluff.lmx", "battle_of_the_sexes.lmx", "prisoners_dilemma.lmx"}) {
      form.FileOpen((dir / name).string());
      QMdiSubWindow* active = window.Area().activeSubWindow();
      QVERIFY(active != nullptr);
      QCOMPARE(window.Area().subWindowList(QMdiArea::StackingOrder).last(), active);
      // The title carries the mark of unsaved work, shown only while the game has some.
      QCOMPARE(active->windowTitle(), QString::fromStdString((dir / name).string() + "[*]"));
      QVERIFY(!active->isWindowModified());
    }
    {
      TGameType32& edited = form.ActiveGameWindow().Game();
      {
        const TEditScope edit(edited);
        edited.SetStatus(StatusEdited);
      }
      QVERIFY(window.Area().activeSubWindow()->isWindowModified());
      const TEditScope saved(edited);
      edited.SetStatus(StatusSaved);
    }
    QVERIFY(!window.Area().activeSubWindow()->isWindowModified());
    // Zoom, grid and undo paint the picture at once.
    QtGameArea* area = nullptr;
    for (auto* a : window.Area().activeSubWindow()->findChildren<QAbstractScrollArea*>()) {
      if (auto* game = dynamic_cast<QtGameArea*>(a)) area = game;
    }
    QVERIFY(area != nullptr);
    PaintCounter counter;
    area->viewport()->installEventFilter(&counter);
    QApplication::processEvents();
    const auto paints = [&](const std::function<void()>& command) {
      const int before = counter.Paints;
      command();
      QApplication::processEvents();
      return counter.Paints > before;
    };
    QVERIFY(paints([&] { window.Action(TAction::ZoomIn)->trigger(); }));
    QVERIFY(paints([&] { window.Action(TAction::DisplayGrid)->trigger(); }));
    form.ActiveGameWindow().History().Record(std::string());  // something to undo
    QVERIFY(paints([&] { window.Action(TAction::Undo)->trigger(); }));
    // The zoom box shows the zoom: typed, and changed by the wheel.
    auto* box = window.findChild<QSpinBox*>();
    QVERIFY(box != nullptr);
    box->setValue(160);
    QCOMPARE(Zoom, 1.6);
    QWheelEvent wheel(QPointF(50, 50), area->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area->viewport(), &wheel);
    QCOMPARE(box->value(), 155);

    // Exit during a run: the window closes once the run has stopped, and no file changed.
    const std::string table = (dir / "table.lmx").string();
    const std::string before = testing::ReadWholeFile(table);
    form.FileOpen(table);
    window.Action(TAction::Solve)->trigger();
    QVERIFY(form.SolveDialog().Working());
    QTest::qWait(300);
    // "Save edited game?" for the game undone above, "Save solutions?" for what was found.
    Answer(QMessageBox::No, 2);
    QVERIFY(!window.close());
    QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 2000);
    QVERIFY(!form.SolveDialog().Working());
    QCOMPARE(testing::ReadWholeFile(table), before);
    Zoom = 1.0;
    fs::remove_all(dir);
  }
};

QTEST_MAIN(QtMainWindowTest)
#include "qt_main_window_test.moc"
