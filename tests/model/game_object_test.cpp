#include "model/game_object.h"

#include <gtest/gtest.h>

#include <memory>

#include "model/node.h"
#include "model/select_rect.h"
#include "model/settings.h"
#include "model/table.h"

namespace ludomark {
namespace {

TEST(GameObject, DefaultsOfANewElement) {
  std::unique_ptr<TGameObject32> e(NewElement<TGameObject32>(nullptr));
  EXPECT_EQ(e->X, 100);
  EXPECT_EQ(e->Y, 100);
  EXPECT_EQ(e->DragDX, 100);
  EXPECT_EQ(e->DragDY, 100);
  EXPECT_EQ(e->Color, 0);
  EXPECT_EQ(e->TypeCode, 0);
  EXPECT_FALSE(e->Temporary);
  EXPECT_FALSE(e->Shown);
  EXPECT_EQ(e->Describe(2), "");
}

TEST(GameObject, SetNameDropsTrailingBlanksAndControlCharacters) {
  TGameObject32 e;
  e.SetName("   ");
  EXPECT_EQ(e.Name, "");
  e.SetName("  Ann  ");
  EXPECT_EQ(e.Name, "  Ann");
  // A line end inside a name would split its file record.
  e.SetName("Bo\r\nb\t\x7f");
  EXPECT_EQ(e.Name, "Bo  b");
  e.SetName(
      "\xEF\xBB\xBF"
      "Ann");  // would read as a byte-order mark at the start of a file
  EXPECT_EQ(e.Name, "   Ann");
  // Written names are cut to 16 bytes between characters, never inside one.
  e.Name = "Caf\xC3\xA9 \xC3\xA9l\xC3\xA8ves \xC3\xA9t\xC3\xA9\n";
  EXPECT_EQ(e.Describe(kFileLine).substr(0, 16), "Caf\xC3\xA9 \xC3\xA9l\xC3\xA8ves  ");
}

TEST(GameObject, HitTestThresholdScalesWithZoom) {
  TGameObject32 e;
  e.SetPosition(100, 100);
  EXPECT_TRUE(e.HitTest(105, 106));   // distance 11
  EXPECT_FALSE(e.HitTest(106, 106));  // distance 12
  Zoom = 2.0;
  EXPECT_TRUE(e.HitTest(123, 100));
  EXPECT_FALSE(e.HitTest(100, 76));
  Zoom = 1.0;
}

TEST(GameObject, InRectIsStrictAndOrientationFree) {
  TGameObject32 e;
  e.SetPosition(50, 50);
  EXPECT_TRUE(e.InRect(TRect{0, 0, 100, 100}));
  EXPECT_TRUE(e.InRect(TRect{100, 100, 0, 0}));
  EXPECT_FALSE(e.InRect(TRect{50, 0, 100, 100}));  // on the left edge
  EXPECT_FALSE(e.InRect(TRect{0, 0, 100, 50}));    // on the bottom edge
}

TEST(GameObject, RedrawRectAndSettled) {
  TGameObject32 e;
  EXPECT_EQ(e.RedrawRect(100, 200, true), (TRect{-60, 40, 180, 280}));
  e.SetSettled(/*value=*/true);
  EXPECT_TRUE(e.Done);
  e.SetSettled(/*value=*/false);
  EXPECT_TRUE(e.Done);  // clearing Settled leaves Done alone
  e.SetBound(/*upper=*/true, 3);
  e.SetBound(/*upper=*/false, -1);
  EXPECT_EQ(e.UpperBound, 3);
  EXPECT_EQ(e.LowerBound, -1);
  EXPECT_EQ(e.Renumber(), 0);
}

TEST(GameObject, ExactClassTest) {
  std::unique_ptr<TTable32> table(NewElement<TTable32>(nullptr));
  std::unique_ptr<TNode32> node(NewElement<TNode32>(nullptr));
  EXPECT_TRUE(IsNilOrClass<TNode32>(nullptr));
  EXPECT_TRUE(IsNilOrClass<TNode32>(node.get()));
  EXPECT_FALSE(IsNilOrClass<TNode32>(table.get()));
  EXPECT_TRUE(IsNilOrClass<TTable32>(table.get()));
}

TEST(SelectRect, ExtentNormalRectAndRedraw) {
  std::unique_ptr<TSelectRect> r(NewElement<TSelectRect>(nullptr));
  EXPECT_TRUE(r->Temporary);
  EXPECT_EQ(r->TypeCode, 100);
  r->SetPosition(200, 100);
  r->SetExtent(150, 180);
  EXPECT_EQ(r->W, -50);
  EXPECT_EQ(r->H, 80);
  EXPECT_EQ(r->NormalRect(), (TRect{150, 100, 200, 180}));
  EXPECT_EQ(r->RedrawRect(200, 100, false), (TRect{70, 20, 280, 260}));
}

}  // namespace
}  // namespace ludomark
