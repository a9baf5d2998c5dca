// A build without the desktop layer refuses to draw, says why, and writes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_cli.h"
#include "support/test_folder.h"

namespace ludomark {
namespace {

TEST(DrawCli, ABuildWithoutPicturesSaysSo) {
  const auto out = testing::TestFolder() / "ludomark-no-pictures.png";
  std::filesystem::remove(out);
  const auto r = testing::RunCli(
      {"draw", std::string(LUDOMARK_EXAMPLES_DIR) + "/bluff.lmx", "--out", out.string()});
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("built without the desktop layer"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace ludomark
