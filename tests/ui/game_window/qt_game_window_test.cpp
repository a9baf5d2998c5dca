// The game window on Qt: real pointer events on its drawing area, its popup menu, its text.
#include "ui/game_window/qt_game_window.h"

#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QtTest>

#include "model/colors.h"
#include "support/fake_window.h"
#include "support/game_builder.h"

using namespace ludomark;

class QtGameWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void PointerHoverRubberBandAndPopup() {
    testing::FakeMainActions main;
    auto* window = new QtGameWindow(TWindowKind::Game, main);
    TGameType32& game = window->Logic().Game();
    testing::GameBuilder b(game);
    TPlayer32* ann = b.Player("Ann", kBlue);
    TNode32* root = b.Node("root", ann, 100, 100);
    b.Node("leaf", ann, 200, 180);
    b.Move("go", root, As<TNode32>(game.Nodes().Last()))->SetPosition(150, 140);
    window->resize(500, 400);
    window->show();
    window->Logic().ResetDisplay();
    QWidget* area = window->Area().viewport();

    QTest::mouseMove(area, QPoint(100, 100));
    QCOMPARE(window->Logic().Current(), root);
    QCOMPARE(area->cursor().shape(), Qt::PointingHandCursor);

    // The node's menu opens at the pointer with the node's items.
    QStringList captions;
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      QVERIFY(menu != nullptr);
      for (QAction* action : menu->actions()) captions << action->text();
      menu->close();
    });
    QTest::mousePress(area, Qt::RightButton, {}, QPoint(100, 100));
    QCOMPARE(captions, (QStringList{"Delete", "Edit", "Info Set", "Redraw"}));

    // A drag over empty space selects the two nodes and the move.
    QTest::mouseMove(area, QPoint(50, 50));
    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(area, QPoint(260, 240));
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(260, 240));
    QCOMPARE(game.Selection().LiveCount(), 3);
    QVERIFY(main.SelectionActions);

    // Redraw the root: it follows the pointer and lands where the click puts it.
    window->Logic().SetCurrent(root);
    window->Logic().Execute(TWindowCommand::Redraw);
    QCOMPARE(area->cursor().shape(), Qt::CrossCursor);
    QTest::mouseMove(area, QPoint(322, 88));
    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(322, 88));
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(322, 88));
    QCOMPARE(root->X, 320);
    QCOMPARE(root->Y, 90);
    QVERIFY(!window->Logic().Placing());

    // The wheel zooms through the main window.
    QWheelEvent wheel(QPointF(100, 100), area->mapToGlobal(QPointF(100, 100)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area, &wheel);
    QCOMPARE(main.Calls.back(), std::string("zoom in"));

    // Keys on the picture reach the logic: Down walks from the first node to the next.
    window->Logic().SetCurrent(nullptr);
    QTest::keyClick(&window->Area(), Qt::Key_Down);
    QCOMPARE(window->Logic().Current(), root);
    QTest::keyClick(&window->Area(), Qt::Key_Down);
    QCOMPARE(window->Logic().Current()->Name, std::string("leaf"));
    QVERIFY(window->Logic().Keyed());
    window->grab().save(QStringLiteral("game_window.png"));
    delete window;
  }

  void TextWindowsShowTheirLines() {
    testing::FakeMainActions main;
    TGameType32 game;
    testing::GameBuilder(game).Player("Ann", kBlue);
    QtGameWindow window(TWindowKind::Audit, main, &game);
    window.Logic().FillText(kSolvableListMode);
    QVERIFY(window.Memo().isReadOnly());
    QVERIFY(window.Memo().toPlainText().startsWith(QStringLiteral("GAME IS SOLVABLE\nPLAYERS\n")));
  }
};

QTEST_MAIN(QtGameWindowTest)
#include "qt_game_window_test.moc"
