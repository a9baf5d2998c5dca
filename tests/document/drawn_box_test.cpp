// A window skips what lies out of its view: nothing that shows in the view may be skipped.
#include "document/drawn_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "gamefile/game_file.h"
#include "model/settings.h"
#include "support/recording_canvas.h"

namespace ludomark {
namespace {

bool TouchesView(const testing::RecordingCanvas::Shape& shape, const TRect& pixels) {
  for (std::size_t i = 0; i + 1 < shape.At.size(); i += 2) {
    const int32_t x = shape.At[i];
    const int32_t y = shape.At[i + 1];
    if (x >= pixels.Left && x <= pixels.Right && y >= pixels.Top && y <= pixels.Bottom) {
      return true;
    }
  }
  return false;
}

TEST(DrawnBox, EveryShapeInAViewIsStillDrawn) {
  for (const auto& entry : std::filesystem::directory_iterator(LUDOMARK_EXAMPLES_DIR)) {
    if (entry.path().extension() != ".lmx") continue;  // the cluster scripts
    TGameType32 game;
    ASSERT_TRUE(ReadGameFile(entry.path().string(), game));
    for (const double zoom : {0.8, 1.6}) {
      Zoom = zoom;
      testing::RecordingCanvas whole;
      game.Draw(whole);
      for (const TRect view :
           {TRect{0, 0, 200, 150}, TRect{150, 100, 400, 300}, TRect{300, 250, 700, 600}}) {
        testing::RecordingCanvas part;
        game.Draw(part, &view);
        const TRect pixels{ToScreen(view.Left), ToScreen(view.Top), ToScreen(view.Right),
                           ToScreen(view.Bottom)};
        for (const auto& shape : whole.Shapes) {
          if (!TouchesView(shape, pixels)) continue;
          const bool kept = std::any_of(part.Shapes.begin(), part.Shapes.end(), [&](auto& s) {
            return s.Kind == shape.Kind && s.At == shape.At && s.Text == shape.Text;
          });
          EXPECT_TRUE(kept) << entry.path().filename() << " zoom " << zoom << " " << shape.Kind
                            << " " << shape.Text;
        }
        EXPECT_LE(part.Shapes.size(), whole.Shapes.size());
      }
    }
  }
  Zoom = 1.0;
}

}  // namespace
}  // namespace ludomark
