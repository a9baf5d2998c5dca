// The dialog windows wired to their logic: keys and clicks in, the game and the messages out.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <utility>

#include "audit/audit.h"
#include "gamefile/game_file.h"
#include "model/colors.h"
#include "model/settings.h"
#include "solver/solve_run.h"
#include "support/game_builder.h"
#include "ui/dialogs/dialogs.h"
#include "ui/dialogs/qt_dialog_runner.h"
#include "ui/dialogs/qt_message_boxes.h"
#include "ui/dialogs/qt_solve_dialog.h"

using namespace ludomark;

namespace {

// Does what a user does in the modal dialog once it shows.
void WhenShown(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) QFAIL("no dialog is shown");
    act(dialog);
    // A check that failed returned from `act` with the dialog still open: it closes now, so the
    // test ends with its failure instead of waiting for the watchdog.
    if (auto* open = qobject_cast<QDialog*>(dialog); QTest::currentTestFailed() && open) {
      open->reject();
    }
  });
}

// Keeps a picture of the dialog under the build folder for a person to look at.
void KeepPicture(QWidget* widget, const char* name) {
  widget->grab().save(QStringLiteral("%1.png").arg(name));
}

struct NoWindows : TSolutionWindows {
  bool HasGameWindow(TGameForm32&) override { return true; }
  void OpenSolutionView(TGameForm32&, TSolution32&) override {}
  void CloseSolutionViews(TGameForm32&, TSolution32*) override {}
};

}  // namespace

class QtDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  // Typing, a swatch click, OK refused until a colour is chosen, Enter pressing OK.
  void PlayerDialogByKeyboardAndMouse() {
    TGameType32 game;
    QWidget parent;
    TQtDialogRunner runner(&parent);
    TDialogs dialogs(runner);
    WhenShown([&](QWidget* dialog) {
      QVERIFY(dialog != nullptr);
      QCOMPARE(dialog->windowTitle(), QStringLiteral("Player"));
      auto* player = static_cast<QtPlayerDialog*>(dialog);
      QCOMPARE(dialog->focusWidget(), &player->NameEdit());
      QTest::keyClicks(&player->NameEdit(), QStringLiteral("Ann"));
      QTest::keyClick(dialog, Qt::Key_Return);  // no colour yet: refused, still open
      QVERIFY(dialog->isVisible());
      QTest::mouseClick(player->Swatch(12), Qt::LeftButton);
      KeepPicture(dialog, "player_dialog");
      QTest::keyClick(dialog, Qt::Key_Return);
    });
    TPlayer32* ann = RunPlayerDialog(dialogs, game, nullptr);
    QVERIFY(ann != nullptr);
    QCOMPARE(QString::fromStdString(ann->Name), QStringLiteral("Ann"));
    QCOMPARE(ann->Color, kBlue);
    QCOMPARE(game.RecordedMessages().Shown, std::vector<std::string>{"Color undefined"});
  }

  // The method is the button clicked: Tracing among them, and checked when the dialog opens again.
  void SolveOptionsChooseTracing() {
    QWidget parent;
    TQtDialogRunner runner(&parent);
    TDialogs dialogs(runner);
    WhenShown([](QWidget* dialog) {
      QCOMPARE(dialog->windowTitle(), QStringLiteral("Solve Options"));
      QRadioButton* tracing = nullptr;
      for (QRadioButton* b : dialog->findChildren<QRadioButton*>()) {
        if (b->text().startsWith(QStringLiteral("Tracing"))) tracing = b;
      }
      QVERIFY(tracing != nullptr);
      QTest::mouseClick(tracing, Qt::LeftButton);
      QTest::keyClick(dialog, Qt::Key_Return);
    });
    runner.Show(dialogs.SolveOptions);
    QCOMPARE(SolveMethod, kSolveTracing);
    WhenShown([](QWidget* dialog) {
      for (QRadioButton* b : dialog->findChildren<QRadioButton*>()) {
        QCOMPARE(b->isChecked(), b->text().startsWith(QStringLiteral("Tracing")));
      }
      KeepPicture(dialog, "solve_options_dialog");
      QTest::keyClick(dialog, Qt::Key_Return);
    });
    runner.Show(dialogs.SolveOptions);
    // Every method of the command line has its item, Sampling too.
    WhenShown([](QWidget* dialog) {
      for (QRadioButton* b : dialog->findChildren<QRadioButton*>()) {
        if (b->text().startsWith(QStringLiteral("Sampling"))) QTest::mouseClick(b, Qt::LeftButton);
      }
      QTest::keyClick(dialog, Qt::Key_Return);
    });
    runner.Show(dialogs.SolveOptions);
    QCOMPARE(SolveMethod, kSolveSampling);
    SolveMethod = kSolveMixed;
  }

  // Escape cancels the name dialog and the old name comes back.
  void NameDialogEscapeRestores() {
    TGameType32 game;
    testing::GameBuilder b(game);
    TTable32* table = b.Table("Old");
    QWidget parent;
    TQtDialogRunner runner(&parent);
    TDialogs dialogs(runner);
    WhenShown([&](QWidget* dialog) {
      QCOMPARE(dialog->windowTitle(), QStringLiteral("Edit Table"));
      QLineEdit* edit = &static_cast<QtNameDialog*>(dialog)->NameEdit();
      QCOMPARE(dialog->focusWidget(), edit);
      QTest::keyClicks(edit, QStringLiteral("New"));
      QCOMPARE(QString::fromStdString(table->Name), QStringLiteral("New"));
      QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QVERIFY(!RunNameDialog(runner, dialogs.Name, "Edit Table", table));
    QCOMPARE(QString::fromStdString(table->Name), QStringLiteral("Old"));
  }

  // OK with no row clicked chooses nothing, though the list has the focus and a current row.
  void SelectDialogOkWithoutAClick() {
    TGameType32 game;
    testing::GameBuilder b(game);
    b.Player("Ann", kBlue);
    b.Player("Bob", kRed);
    QWidget parent;
    TQtDialogRunner runner(&parent);
    TDialogs dialogs(runner);
    WhenShown([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Return); });
    QCOMPARE(dialogs.Select.Choose(game.Players(), kEveryType), TSelectDialog::kCancelled);
    WhenShown([](QWidget* dialog) {
      QTest::keyClick(dialog->focusWidget(), Qt::Key_Down);
      QTest::keyClick(dialog, Qt::Key_Return);
    });
    QVERIFY(dialogs.Select.Choose(game.Players(), kEveryType) >= 0);
  }

  // The payoff edit makes a payoff as it takes the focus; a refused magnitude reads
  // "Undefined".
  void PayoffDialogFocusAndMagnitude() {
    TGameType32 game;
    testing::GameBuilder b(game);
    TPlayer32* ann = b.Player("Ann", kBlue);
    TNode32* root = b.Node("root", ann);
    TMove32* move = b.Move("go", root, nullptr);
    QWidget parent;
    TQtDialogRunner runner(&parent);
    TDialogs dialogs(runner);
    WhenShown([&](QWidget* dialog) {
      auto* payoff = static_cast<QtPayoffDialog*>(dialog);
      // No player is chosen until the user picks one, even with the list in focus.
      payoff->Players().setFocus();
      QApplication::processEvents();
      QVERIFY(payoff->Players().selectedItems().isEmpty());
      payoff->Players().setCurrentRow(0);
      QCOMPARE(payoff->PayoffEdit().text(), QStringLiteral("Undefined"));
      payoff->PayoffEdit().setFocus();
      QApplication::processEvents();
      payoff->PayoffEdit().selectAll();
      QTest::keyClicks(&payoff->PayoffEdit(), QStringLiteral("200000"));
      QCOMPARE(payoff->PayoffEdit().text(), QStringLiteral("Undefined"));
      payoff->PayoffEdit().selectAll();
      QTest::keyClicks(&payoff->PayoffEdit(), QStringLiteral("-2.5"));
      KeepPicture(dialog, "payoff_dialog");
      QTest::keyClick(dialog, Qt::Key_Return);
    });
    dialogs.Payoff.Setup(*move);
    QVERIFY(runner.Show(dialogs.Payoff));
    move->Assign(dialogs.Payoff.Working());
    dialogs.Payoff.Release();
    move->RebuildPayoffList();
    QVERIFY(move->FindPayoff(ann) != nullptr);
    QCOMPARE(move->FindPayoff(ann)->Value, -2.5);
    QCOMPARE(game.RecordedMessages().Shown, std::vector<std::string>{"Invalid payoff magnitude."});
  }

  // The solve window follows a run: Abort while it works, the solutions and Close after.
  void SolveWindowFollowsARun() {
    const std::string path = std::string(LUDOMARK_EXAMPLES_DIR) + "/battle_of_the_sexes.lmx";
    TGameType32 game;
    QVERIFY(ReadGameFile(path, game));
    TSolveRun run;
    QVERIFY(run.Prepare(game) == TSolveRun::Start::Ran);
    NoWindows windows;
    TSolveDlg logic(run, windows);
    QtSolveDialog view(nullptr, logic);
    logic.Prepare(/*run=*/true, game, [path] {
      auto copy = std::make_unique<TGameType32>();
      ReadGameFile(path, *copy);
      return std::unique_ptr<TGameForm32>(std::move(copy));
    });
    QVERIFY(view.isVisible());
    // The run works on its threads; the window's own timer follows it to its end.
    QTRY_VERIFY(!logic.Working());
    QCOMPARE(view.windowTitle(), QStringLiteral("Solved"));
    QVERIFY(!view.AbortButton().isVisible());
    QCOMPARE(view.List().count(), 3);
    QCOMPARE(view.Bar().value(), TSolveDlg::kBarMaximum);
    KeepPicture(&view, "solve_dialog");
    QTest::keyClick(&view, Qt::Key_Escape);
    QVERIFY(!view.isVisible());
    // Never kept above the windows that open while it shows.
    QVERIFY(!view.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  }

  // A message box opens over the dialog the user is in, not behind it under the main window.
  void MessageBoxesOpenOverTheOpenDialog() {
    QWidget main;
    TQtMessageBoxes boxes(&main);
    QDialog open(&main);
    QWidget* parent = nullptr;
    QTimer::singleShot(0, [&] {
      WhenShown([&](QWidget* box) {
        parent = box->parentWidget();
        qobject_cast<QDialog*>(box)->accept();
      });
      boxes.Information("Solved game cannot be edited. Delete solutions first");
      open.accept();
    });
    open.exec();
    QCOMPARE(parent, static_cast<QWidget*>(&open));
  }
};

QTEST_MAIN(QtDialogsTest)
#include "qt_dialogs_test.moc"
