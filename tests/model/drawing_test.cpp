// What each element draws, read from a recording canvas.
#include "model/drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/colors.h"
#include "model/info.h"
#include "model/settings.h"
#include "support/game_builder.h"
#include "support/recording_canvas.h"
#include "support/solving.h"

namespace ludomark {
namespace {

using testing::GameBuilder;
using testing::RecordingCanvas;

struct ZoomAt {
  explicit ZoomAt(double z) { Zoom = z; }
  ~ZoomAt() { Zoom = 1.0; }
};

TEST(Drawing, DashesByLengthAndDiscsByZoom) {
  for (auto [length, dashes] : {std::pair{25, 0}, {26, 1}, {74, 1}, {75, 2}, {150, 3}}) {
    RecordingCanvas canvas;
    DashedLine(canvas, TPoint{10, 10}, TPoint{10 + length, 10});
    EXPECT_EQ(canvas.Of("line").size(), static_cast<std::size_t>(dashes)) << length;
  }
  TGameType32 game;
  GameBuilder b(game);
  TNode32* node = b.Node("N", b.Player("Ann", kRed), 100, 100);
  for (auto [zoom, span] : {std::pair{1.6, 32}, {0.8, 16}}) {
    ZoomAt z(zoom);
    RecordingCanvas canvas;
    node->Draw(canvas);
    const auto discs = canvas.Of("ellipse");
    ASSERT_EQ(discs.size(), 1u);
    EXPECT_EQ(discs[0].At[2] - discs[0].At[0], span);
    EXPECT_EQ(discs[0].PenWidth, 1);
    EXPECT_EQ(discs[0].Brush, kRed);
  }
}

TEST(Drawing, MovesChanceAndValues) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann", kBlue);
  TNode32* root = b.Node("R", ann, 100, 100);
  TNode32* luck = b.Node("C", nullptr, 200, 200);
  TMove32* go = b.Move("go", root, luck);  // discount 1: no text
  TMove32* wait = b.Move("wait", root, root, 0.9);
  TMove32* heads = b.Move("h", luck, nullptr, 0.5);
  RecordingCanvas canvas;
  game.Draw(canvas);
  EXPECT_EQ(luck->Color, kGrey);
  EXPECT_EQ(heads->Color, kGrey);
  EXPECT_EQ(go->Color, kBlue);
  EXPECT_TRUE(canvas.HasText("d= 0.9"));
  EXPECT_TRUE(canvas.HasText("p= 0.5"));
  EXPECT_FALSE(canvas.HasText("d= 1"));
  // Each move: an arrow head and its curve of 20 segments.
  EXPECT_EQ(canvas.Of("polygon").size(), 3u);
  EXPECT_EQ(canvas.Of("line").size(), 3u * 20u + 4u);  // and the player's figure
  EXPECT_EQ(wait->Color, kBlue);
}

TEST(Drawing, InformationSetsTablesAndTemporaryElements) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann", kBlue);
  TPlayer32* bob = b.Player("Bob", kRed);
  TPlayer32* cy = b.Player("Cy", kGreen);
  std::vector<TNode32*> nodes;
  nodes.reserve(3);
  for (int i = 0; i < 3; ++i) nodes.push_back(b.Node("N", bob, 100 + 100 * i, 300));
  TInfo32* set = b.InfoSet("I", {nodes[0], nodes[1], nodes[2]});
  RecordingCanvas three;
  set->Draw(three);
  const auto dashes = three.Of("line");
  ASSERT_EQ(dashes.size(), 4u);  // 100 pixels: two dashes between each pair of nodes
  EXPECT_EQ(dashes[0].PenWidth, 5);
  EXPECT_EQ(dashes[0].Pen, kRed);
  nodes[2]->SetInfo(nullptr);
  nodes[1]->SetInfo(nullptr);
  set->Relink();
  RecordingCanvas one;
  set->Draw(one);
  EXPECT_TRUE(one.Shapes.empty());

  TTable32* table = b.Table("T", 0, 0);
  b.Side(table, ann, "R", {"r1", "r2"});
  b.Side(table, bob, "K", {"k1", "k2"});
  auto separators = [&] {
    RecordingCanvas canvas;
    table->Draw(canvas);
    return canvas.Of("line").size();
  };
  EXPECT_EQ(separators(), 0u);
  TSide32* third = b.Side(table, cy, "S", {"s1", "s2"});
  EXPECT_EQ(separators(), 1u);
  RecordingCanvas sides;
  third->Draw(sides);
  EXPECT_TRUE(sides.HasText("Cy"));

  TNode32* hidden = b.Node("Art", bob, 500, 500);
  hidden->Temporary = true;
  TPlayer32* ghost = b.Player("Ghost");
  ghost->Temporary = true;
  RecordingCanvas off;
  hidden->Draw(off);
  ghost->Draw(off);
  EXPECT_TRUE(off.Shapes.empty());
  DebugMode = true;
  RecordingCanvas on;
  hidden->Draw(on);
  ghost->Draw(on);
  DebugMode = false;
  EXPECT_EQ(on.Of("ellipse").size(), 1u);  // the node; the temporary player has no figure
  EXPECT_TRUE(on.HasText("Ghost"));
}

TEST(Drawing, PayoffsStackUnderTheirMoveAndDrawTheSameTwice) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* ann = b.Player("Ann");
  TPlayer32* bob = b.Player("Bob");
  TMove32* stop = b.Move("stop", b.Node("N", ann, 100, 100), nullptr);
  stop->SetPosition(100, 200);
  TPayoff32* first = b.Payoff(stop, ann, 2.5);
  TPayoff32* second = b.Payoff(stop, bob, -1);
  RecordingCanvas once;
  game.Draw(once);
  EXPECT_EQ(first->X, 93);
  // One line per player counted from 0: Ann, the first, on the first line.
  EXPECT_EQ(first->Y, 200 + 7);
  EXPECT_EQ(second->Y, 200 + 14 + 7);
  EXPECT_TRUE(once.HasText("U= 2.5"));
  RecordingCanvas twice;
  game.Draw(twice);
  ASSERT_EQ(twice.Shapes.size(), once.Shapes.size());
  for (std::size_t i = 0; i < once.Shapes.size(); ++i) {
    EXPECT_EQ(twice.Shapes[i].At, once.Shapes[i].At) << i;
  }
}

TEST(Drawing, SolutionValuesFollowTheirFlags) {
  TGameType32 game;
  ASSERT_TRUE(testing::SolveExample("hidden_move.lmx", kSolvePure, game));
  auto* solution = As<TSolution32>(game.Solutions().First());  // Left, then Up
  auto draw = [&](int32_t flags) {
    solution->SolutionFlags = flags;
    RecordingCanvas canvas;
    solution->Draw(canvas);
    return canvas;
  };
  const RecordingCanvas all = draw(kShowProbabilities | kShowBeliefs | kShowExpected);
  EXPECT_TRUE(all.HasText("b= 0"));
  EXPECT_TRUE(all.HasText("p= 0"));
  EXPECT_TRUE(all.HasText("e= 2"));
  // A move never played is painted over in white every other segment; a node never reached
  // is hollow.
  EXPECT_EQ(all.Of("line").size() % 10, 0u);
  EXPECT_GT(all.Of("line").size(), 0u);
  EXPECT_EQ(all.Of("line")[0].Pen, kWhite);
  ASSERT_FALSE(all.Of("ellipse").empty());
  EXPECT_EQ(all.Of("ellipse")[0].Brush, kWhite);
  const RecordingCanvas noProbabilities = draw(kShowBeliefs | kShowExpected);
  EXPECT_FALSE(noProbabilities.HasText("p= 0"));
  EXPECT_TRUE(noProbabilities.Of("line").empty());
  const RecordingCanvas noBeliefs = draw(kShowProbabilities | kShowExpected);
  EXPECT_FALSE(noBeliefs.HasText("b= 0"));
  EXPECT_TRUE(noBeliefs.Of("ellipse").empty());
}

}  // namespace
}  // namespace ludomark

namespace ludomark {
namespace {

// The shortest distance from the point to the segment.
double DistanceToSegment(double px, double py, const std::vector<int32_t>& s) {
  const double dx = s[2] - s[0];
  const double dy = s[3] - s[1];
  const double squared = dx * dx + dy * dy;
  double t = squared > 0 ? ((px - s[0]) * dx + (py - s[1]) * dy) / squared : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(s[0] + t * dx - px, s[1] + t * dy - py);
}

// Two sets on one row whose members alternate: each set's dashes join its own members and pass
// over no other node; a set alone on its row keeps the straight dashed line.
TEST(Drawing, SetsSharingARowAreToldApart) {
  TGameType32 game;
  GameBuilder b(game);
  TPlayer32* bob = b.Player("Bob", kRed);
  TNode32* a = b.Node("a", bob, 100, 300);
  TNode32* c = b.Node("c", bob, 200, 300);
  TNode32* d = b.Node("d", bob, 300, 300);
  TNode32* e = b.Node("e", bob, 400, 300);
  TNode32* f = b.Node("f", bob, 100, 600);
  TNode32* g = b.Node("g", bob, 300, 600);
  TInfo32* first = b.InfoSet("first", {a, d});
  TInfo32* second = b.InfoSet("second", {c, e});
  TInfo32* alone = b.InfoSet("alone", {f, g});
  const std::vector<TNode32*> nodes = {a, c, d, e, f, g};
  for (TInfo32* set : {first, second, alone}) {
    RecordingCanvas canvas;
    set->Draw(canvas);
    const std::vector<RecordingCanvas::Shape> dashes = canvas.Of("line");
    ASSERT_FALSE(dashes.empty()) << set->Name;
    for (TNode32* node : nodes) {
      if (set->Members.Contains(node)) continue;
      for (const auto& dash : dashes) {
        EXPECT_GT(DistanceToSegment(node->X, node->Y, dash.At), 12)
            << set->Name << " " << node->Name;
      }
    }
    const bool straight = std::all_of(dashes.begin(), dashes.end(), [&](const auto& dash) {
      return dash.At[1] == set->FirstMember()->Y && dash.At[3] == set->FirstMember()->Y;
    });
    EXPECT_EQ(straight, set == alone) << set->Name;
  }
}

}  // namespace
}  // namespace ludomark
