#include "model/game_list.h"

#include <gtest/gtest.h>
using namespace ludomark;
TEST(Smoke, Builds) {
  TGameList l(true);
  EXPECT_EQ(l.Count(), 0);
}
