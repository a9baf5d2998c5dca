// The real main window, offscreen: menus and dialogs for a whole session, and a picture of it.
#include "ui/main_window/qt_main_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <filesystem>

#include "gamefile/game_file.h"
#include "model/status_code.h"
#include "ui/dialogs/qt_player_dialog.h"

using namespace ludomark;
namespace fs = std::filesystem;

namespace {
// Presses Yes in the question box once it shows.
void AnswerYes() {
  QTimer::singleShot(10, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      AnswerYes();
      return;
    }
    box->button(QMessageBox::Yes)->click();
  });
}
}  // namespace

class QtMainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void SessionThroughMenusAndDialogs() {
    const fs::path dir = fs::temp_directory_path() / "ludomark-qt-session";
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
    TGameType32& doc = form.ActiveGameWindow().Game();
    const int players = doc.Players().LiveCount();

    // Add > Player through the real dialog: a name typed, a colour clicked, Enter.
    QTimer::singleShot(0, [] {
      auto* dialog = dynamic_cast<QtPlayerDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
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
};

QTEST_MAIN(QtMainWindowTest)
#include "qt_main_window_test.moc"
