// The edit dialogs driven as a user would, on real games, with no window.
#include <gtest/gtest.h>

#include <filesystem>

#include "gamefile/game_file.h"
#include "model/colors.h"
#include "model/payoff.h"
#include "model/settings.h"
#include "support/game_builder.h"
#include "support/run_cli.h"
#include "support/scripted_runner.h"
#include "support/test_folder.h"

namespace ludomark {
namespace {

using testing::GameBuilder;
using testing::ScriptedRunner;

struct DialogsTest : ::testing::Test {
  TGameType32 game;
  GameBuilder b{game};
  ScriptedRunner runner;
  TDialogs dialogs{runner};
  std::vector<std::string>& shown = game.RecordedMessages().Shown;

  int PayoffCount() { return game.Payoffs().LiveCount(); }
};

TEST_F(DialogsTest, PlayerColoursAndNames) {
  std::vector<std::string> answers;
  runner.OnPlayer = [&](TPlayerDlg& d) {
    d.NameChange("Ann  ");
    EXPECT_FALSE(d.OKBtnClick());  // no colour chosen yet
    d.ColorClick(8);
    EXPECT_FALSE(d.OKBtnClick());
    d.ColorClick(15);
    EXPECT_FALSE(d.OKBtnClick());
    d.ColorClick(12);
    return d.OKBtnClick();
  };
  TPlayer32* ann = RunPlayerDialog(dialogs, game, nullptr);
  ASSERT_NE(ann, nullptr);
  EXPECT_EQ(shown, (std::vector<std::string>{"Color undefined", "Gray reserved for Chance",
                                             "White reserved for background"}));
  EXPECT_EQ(ann->Name, "Ann");
  EXPECT_EQ(ann->Color, kBlue);
  EXPECT_EQ(game.Players().LiveCount(), 1);
  // The grid keeps the last swatch; editing and cancelling leaves the player as it was.
  runner.OnPlayer = [](TPlayerDlg& d) {
    EXPECT_EQ(d.GridIndex(), 12);
    d.NameChange("");
    EXPECT_FALSE(d.OKBtnClick());
    d.ColorClick(9);
    return false;
  };
  EXPECT_EQ(RunPlayerDialog(dialogs, game, ann), nullptr);
  EXPECT_EQ(shown.back(), "Invalid name");
  EXPECT_EQ(ann->Name, "Ann");
  EXPECT_EQ(ann->Color, kBlue);
}

TEST_F(DialogsTest, NodeOwnerCannotChangeInsideAnInformationSet) {
  TPlayer32* ann = b.Player("Ann", kBlue);
  TPlayer32* bob = b.Player("Bob", kRed);
  TNode32* x = b.Node("x", ann);
  TNode32* y = b.Node("y", ann);
  b.InfoSet("xy", {x, y});
  runner.OnNode = [&](TNodeDlg& d) {
    EXPECT_EQ(d.OwnerRow(), 0);
    EXPECT_FALSE(d.ChanceChecked());
    d.OwnerClick(1);
    d.ChanceClick();
    EXPECT_EQ(d.OwnerRow(), 0);
    EXPECT_FALSE(d.ChanceChecked());
    d.NameChange("x2");
    return d.OKBtnClick();
  };
  EXPECT_EQ(RunNodeDialog(dialogs, game, x), x);
  EXPECT_EQ(x->Player.get(), ann);
  EXPECT_EQ(x->Name, "x2");
  EXPECT_EQ(shown.size(), 2u);
  // A free node becomes a chance node, then a node of Bob.
  TNode32* z = b.Node("z", ann);
  runner.OnNode = [](TNodeDlg& d) {
    d.ChanceClick();
    EXPECT_EQ(d.OwnerRow(), -1);
    d.OwnerClick(1);
    return d.OKBtnClick();
  };
  RunNodeDialog(dialogs, game, z);
  EXPECT_EQ(z->Player.get(), bob);
}

TEST_F(DialogsTest, MoveChecksAndPayoffsOnAWorkingCopy) {
  TPlayer32* ann = b.Player("Ann", kBlue);
  TPlayer32* bob = b.Player("Bob", kRed);
  TNode32* root = b.Node("root", ann);
  TNode32* chance = b.Node("luck", nullptr);
  TMove32* move = b.Move("go", root, nullptr);
  b.Payoff(move, ann, 3);
  const int payoffs = PayoffCount();
  // Every refusal in its order; the discount rule at its edges.
  runner.OnMove = [&](TMoveDlg& d) {
    EXPECT_TRUE(d.FinalChecked());
    EXPECT_EQ(d.ValueLabel(), "Discount");
    d.NameChange("");
    EXPECT_FALSE(d.OKBtnClick());
    d.NameChange("stay");
    d.FromClick(0);
    d.UptoClick(0);
    EXPECT_FALSE(d.OKBtnClick());
    d.FinalClick();
    for (const char* bad : {"0.9995", "0.0009", "x", "1,5", "", "nan", "inf", "1e400", "+-1"}) {
      d.ValueChange(bad);
      EXPECT_FALSE(d.ValueValid()) << bad;
    }
    EXPECT_FALSE(d.OKBtnClick());
    for (const char* good : {"0.001", "1", " 0.999 "}) {
      d.ValueChange(good);
      EXPECT_TRUE(d.ValueValid()) << good;
    }
    d.FromClick(1);
    EXPECT_EQ(d.ValueLabel(), "Probability");
    // Payoffs edited in the nested dialog land on the working copy only.
    runner.OnPayoff = [&](TPayoffDlg& p) {
      p.PlayerClick(1);
      EXPECT_EQ(p.PayoffText(), "Undefined");
      p.PayoffEnter();
      p.PayoffChange("-50");
      p.PlayerClick(0);
      EXPECT_EQ(p.PayoffText(), "3");
      p.PayoffChange("200000");
      EXPECT_EQ(p.PayoffText(), "Undefined");
      p.PayoffChange("0.000001");
      p.PayoffChange("0");
      return true;
    };
    d.PayoffBtnClick();
    return false;  // and the whole edit is cancelled
  };
  EXPECT_FALSE(RunMoveDialog(dialogs, *move));
  EXPECT_EQ(shown,
            (std::vector<std::string>{"Invalid name", "From cannot equal Upto",
                                      "Discount other than one must be between 0.001 and 0.999",
                                      "Invalid payoff magnitude.", "Invalid payoff magnitude."}));
  EXPECT_EQ(move->Name, "go");
  EXPECT_EQ(move->From.get(), root);
  EXPECT_EQ(PayoffCount(), payoffs);
  EXPECT_EQ(move->FindPayoff(ann)->Value, 3);

  runner.OnMove = [&](TMoveDlg& d) {
    d.FromClick(1);
    d.ValueChange("0.25");
    runner.OnPayoff = [](TPayoffDlg& p) {
      p.PlayerClick(0);
      p.DeleteBtnClick();
      p.PlayerClick(1);
      p.PayoffEnter();
      p.PayoffChange("7");
      return true;
    };
    d.PayoffBtnClick();
    return d.OKBtnClick();
  };
  EXPECT_TRUE(RunMoveDialog(dialogs, *move));
  move->RebuildPayoffList();
  EXPECT_EQ(move->From.get(), chance);
  EXPECT_EQ(move->Value, 0.25);
  EXPECT_EQ(move->FindPayoff(ann), nullptr);
  ASSERT_NE(move->FindPayoff(bob), nullptr);
  EXPECT_EQ(move->FindPayoff(bob)->Value, 7);
  EXPECT_EQ(PayoffCount(), 1);  // no working copy's payoff is left behind
}

TEST_F(DialogsTest, SelectDialogShortcutsAndPositions) {
  b.Player("Ann", kBlue);
  EXPECT_EQ(dialogs.Select.Choose(game.Nodes(), kTable), TSelectDialog::kNoneOfType);
  TNode32* x = b.Node("x", nullptr);
  b.Table("T");
  TNode32* y = b.Node("y", nullptr);
  EXPECT_EQ(dialogs.Select.Choose(game.Nodes(), kTable), 1);  // the one table, not shown
  EXPECT_EQ(runner.Shown, 0);
  runner.OnSelect = [](TSelectDialog& d) {
    EXPECT_EQ(d.Rows().size(), 2u);
    d.RowClick(1);
    return true;
  };
  EXPECT_EQ(game.Nodes().ElementAt(dialogs.Select.Choose(game.Nodes(), kNode) + 1), y);
  runner.OnSelect = [](TSelectDialog&) { return true; };  // OK without a row
  EXPECT_EQ(dialogs.Select.Choose(game.Nodes(), kNode), TSelectDialog::kCancelled);
  runner.OnSelect = [](TSelectDialog& d) {
    d.RowClick(0);
    return false;
  };
  EXPECT_EQ(dialogs.Select.Choose(game.Nodes(), kEveryType), TSelectDialog::kCancelled);
  EXPECT_NE(x, nullptr);
}

TEST_F(DialogsTest, InformationSetsAreBuiltAndDissolved) {
  TPlayer32* ann = b.Player("Ann", kBlue);
  TPlayer32* bob = b.Player("Bob", kRed);
  TNode32* a = b.Node("a", ann);
  TNode32* c = b.Node("c", ann);
  TNode32* d = b.Node("d", ann);
  b.Node("e", bob);
  b.Node("f", nullptr);
  runner.OnInfo = [](TInfoDlg& dlg) {
    EXPECT_EQ(dlg.Candidates(), (std::vector<std::string>{"c", "d"}));
    EXPECT_EQ(dlg.Events(), (std::vector<std::string>{"a"}));
    dlg.AddBtnClick(1);
    dlg.AddBtnClick(0);
    dlg.DeleteBtnClick(0);  // the anchor stays
    return true;
  };
  ASSERT_TRUE(RunInfoDialog(dialogs, *a));
  EXPECT_EQ(shown, std::vector<std::string>{"Cannot delete access node"});
  ASSERT_NE(a->Info.get(), nullptr);
  EXPECT_EQ(a->Info.get(), c->Info.get());
  EXPECT_EQ(a->Info.get(), d->Info.get());
  EXPECT_EQ(a->Info->Members.LiveCount(), 3);
  EXPECT_EQ(game.Infos().LiveCount(), 1);
  // Back to the anchor alone: the set goes.
  runner.OnInfo = [](TInfoDlg& dlg) {
    EXPECT_EQ(dlg.Events(), (std::vector<std::string>{"a", "c", "d"}));
    dlg.DeleteBtnClick(2);
    dlg.DeleteBtnClick(0);
    return true;
  };
  ASSERT_TRUE(RunInfoDialog(dialogs, *c));
  EXPECT_EQ(game.Infos().LiveCount(), 0);
  EXPECT_EQ(a->Info.get(), nullptr);
  EXPECT_EQ(d->Info.get(), nullptr);
  // Bob's only node has no partner: nothing to show.
  EXPECT_FALSE(RunInfoDialog(dialogs, *As<TNode32>(game.Nodes().ElementAt(4))));
}

TEST_F(DialogsTest, SidesThroughTheDialogAndCancelledNames) {
  TPlayer32* ann = b.Player("Ann", kBlue);
  b.Player("Bob", kRed);
  TTable32* table = b.Table("T");
  ASSERT_TRUE(dialogs.Side.FindOwners(*table));
  // Confirmed without an owner click: refused although a row is highlighted.
  runner.OnSide = [&](TSideDlg& d) {
    runner.OnName = [](TNameDlg& n) {
      EXPECT_EQ(n.Title(), "Strategy Name");
      n.NameChange("Up");
      return true;
    };
    d.AddChoiceBtnClick();
    return true;
  };
  EXPECT_FALSE(RunSideDialog(dialogs, nullptr, *table));
  EXPECT_EQ(shown, std::vector<std::string>{"No Owner or Choices defined"});
  EXPECT_EQ(table->SideCount(), 0);

  runner.OnSide = [&](TSideDlg& d) {
    EXPECT_EQ(d.Owners(), (std::vector<std::string>{"Ann", "Bob"}));
    d.OwnerClick(0);
    for (const char* name : {"Up", "Mid", "Down"}) {
      runner.OnName = [name](TNameDlg& n) {
        n.NameChange(name);
        return true;
      };
      d.AddChoiceBtnClick();
    }
    runner.OnName = [](TNameDlg& n) {
      n.NameChange("Never");
      return false;
    };
    d.AddChoiceBtnClick();  // cancelled: no strategy
    d.ChoiceClick(1);
    d.DeleteChoiceBtnClick();
    d.ChoiceClick(1);
    d.EditChoiceBtnClick();  // renamed while typing, then cancelled
    EXPECT_EQ(d.Choices(), (std::vector<std::string>{"Up", "Down"}));
    return true;
  };
  ASSERT_TRUE(dialogs.Side.FindOwners(*table));
  EXPECT_TRUE(RunSideDialog(dialogs, nullptr, *table));
  ASSERT_EQ(table->SideCount(), 1);
  EXPECT_EQ(table->SideAt(0)->Player.get(), ann);
  EXPECT_EQ(table->SideAt(0)->StrategyCount(), 2);
  EXPECT_EQ(table->SideAt(0)->StrategyAt(1)->Name, "Down");
  EXPECT_EQ(game.Status(), StatusEdited);
}

TEST_F(DialogsTest, CellDialogEditsTheCellItself) {
  TPlayer32* ann = b.Player("Ann", kBlue);
  TPlayer32* bob = b.Player("Bob", kRed);
  TTable32* table = b.Table("T", 300, 300);
  b.Side(table, ann, "Rows", {"a", "b"});
  b.Side(table, bob, "Columns", {"x", "y"});
  TNode32* next = b.Node("next", ann, 500, 500);
  TCell32* cell = testing::CellOf(table, {"a", "x"});
  runner.OnCell = [&](TCellDlg& d) {
    EXPECT_TRUE(d.FinalChecked());
    d.UptoClick(1);
    for (const char* ignored : {"0", "1.5", "z"}) d.ValueChange(ignored);
    EXPECT_EQ(cell->Value, 1);
    d.ValueChange("0.9995");
    return true;
  };
  dialogs.Cell.Setup(*cell);
  runner.Show(dialogs.Cell);
  EXPECT_EQ(cell->To.get(), next);
  EXPECT_EQ(cell->Value, 0.9995);
  EXPECT_EQ(cell->X, RoundHalfEven((500 + cell->CellX) / 2.0));
  EXPECT_EQ(cell->Y, RoundHalfEven((500 + cell->CellY) / 2.0));
  dialogs.Cell.FinalClick();
  EXPECT_EQ(cell->To.get(), nullptr);
  EXPECT_EQ(cell->X, cell->CellX);
  // Its payoffs through the payoff dialog: the cell keeps its strategies.
  runner.OnPayoff = [](TPayoffDlg& p) {
    p.PlayerClick(1);
    p.PayoffEnter();
    p.PayoffChange("4");
    return true;
  };
  EXPECT_TRUE(RunPayoffDialog(dialogs, *cell));
  cell->RebuildPayoffList();
  EXPECT_EQ(cell->FindPayoff(bob)->Value, 4);
  EXPECT_EQ(testing::StrategyNames(cell), "a x");
  EXPECT_EQ(PayoffCount(), 1);
}

TEST_F(DialogsTest, RemovalsRefuseWhatIsInUse) {
  TPlayer32* ann = b.Player("Ann", kBlue);
  TPlayer32* idle = b.Player("Idle", kRed);
  TNode32* root = b.Node("root", ann);
  TNode32* leaf = b.Node("leaf", ann);
  TMove32* move = b.Move("go", root, leaf);
  EXPECT_FALSE(RemovePlayer(game, ann));
  EXPECT_TRUE(RemovePlayer(game, idle));
  EXPECT_FALSE(RemoveNode(game, root));
  EXPECT_TRUE(RemoveNode(game, leaf));
  EXPECT_EQ(move->To.get(), nullptr);
  RemoveMove(game, move);
  EXPECT_EQ(game.Moves().LiveCount(), 0);
  EXPECT_TRUE(RemoveNode(game, root));
  EXPECT_EQ(game.Nodes().LiveCount(), 0);
  EXPECT_EQ(game.Players().LiveCount(), 1);
}

// Cancel leaves the game as it was, to the byte of its file; a game being solved opens no
// dialog at all.
TEST_F(DialogsTest, CancelLeavesTheFileAsItWasAndASolvingGameOpensNothing) {
  ASSERT_TRUE(ReadGameFile(std::string(LUDOMARK_EXAMPLES_DIR) + "/market_entry.lmx", game));
  const auto path = testing::TestFolder() / "ludomark-cancel.lmx";
  auto written = [&] {
    WriteGameFile(path.string(), game);
    return testing::ReadWholeFile(path.string());
  };
  const std::string before = written();
  auto* move = As<TMove32>(game.Moves().First());
  auto* player = As<TPlayer32>(game.Players().First());
  TTable32* table = nullptr;
  game.Nodes().ForEach([&](TGameObject32* n) {
    if (n->TypeCode == kTable) table = As<TTable32>(n);
  });
  ASSERT_NE(table, nullptr);
  runner.OnMove = [&](TMoveDlg& d) {
    d.NameChange("changed");
    d.ValueChange("0.5");
    d.FinalClick();
    runner.OnPayoff = [](TPayoffDlg& p) {
      p.PlayerClick(0);
      p.PayoffEnter();
      p.PayoffChange("9");
      p.PlayerClick(1);
      p.DeleteBtnClick();
      return true;
    };
    d.PayoffBtnClick();
    return false;
  };
  runner.OnPlayer = [](TPlayerDlg& d) {
    d.NameChange("changed");
    d.ColorClick(3);
    return false;
  };
  runner.OnSide = [&](TSideDlg& d) {
    runner.OnName = [](TNameDlg& n) {
      n.NameChange("extra");
      return true;
    };
    d.AddChoiceBtnClick();
    d.ChoiceClick(0);
    d.DeleteChoiceBtnClick();
    return false;
  };
  EXPECT_FALSE(RunMoveDialog(dialogs, *move));
  EXPECT_EQ(RunPlayerDialog(dialogs, game, player), nullptr);
  EXPECT_FALSE(RunSideDialog(dialogs, table->SideAt(0), *table));
  EXPECT_EQ(written(), before);

  game.ForceStatus(StatusSolving);
  runner.Shown = 0;
  runner.OnPlayer = [](TPlayerDlg& d) { return d.OKBtnClick(); };
  EXPECT_EQ(RunPlayerDialog(dialogs, game, player), nullptr);
  EXPECT_FALSE(RunMoveDialog(dialogs, *move));
  EXPECT_FALSE(RunSideDialog(dialogs, table->SideAt(0), *table));
  EXPECT_FALSE(RemovePlayer(game, player));
  RemoveMove(game, move);
  EXPECT_EQ(runner.Shown, 0);
  EXPECT_TRUE(game.Moves().Contains(move));
  std::filesystem::remove(path);
}

TEST(SolveOptions, MethodFollowsTheItems) {
  TSolveOptionsDlg options;
  EXPECT_EQ(SolveMethod, kSolveMixed);
  options.MethodGroupClick(TSolveOptionsDlg::kPureItem);
  EXPECT_EQ(SolveMethod, kSolvePure);
  EXPECT_EQ(options.FormActivate(), TSolveOptionsDlg::kPureItem);
  SolveMethod = kSolveSampling;
  EXPECT_EQ(options.FormActivate(), TSolveOptionsDlg::kSamplingItem);
  options.MethodGroupClick(TSolveOptionsDlg::kPureItem);
  options.MethodGroupClick(TSolveOptionsDlg::kSamplingItem);
  EXPECT_EQ(SolveMethod, kSolveSampling);
  options.MethodGroupClick(TSolveOptionsDlg::kTracingItem);
  EXPECT_EQ(SolveMethod, kSolveTracing);
  EXPECT_EQ(options.FormActivate(), TSolveOptionsDlg::kTracingItem);
  options.MethodGroupClick(TSolveOptionsDlg::kMixedItem);
  EXPECT_EQ(SolveMethod, kSolveMixed);
}

}  // namespace
}  // namespace ludomark
