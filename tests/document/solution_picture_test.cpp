// Solution values placed over the picture: none covers a text or a line of the game or another
// value, on every example and every solution.
#include "document/solution_picture.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "model/settings.h"
#include "support/recording_canvas.h"
#include "support/solving.h"

namespace ludomark {
namespace {

namespace fs = std::filesystem;

struct Box {
  int32_t Left, Top, Right, Bottom;
};

Box TextBox(const testing::RecordingCanvas::Shape& text) {
  const TPoint size = EstimatedTextExtent(text.Text, text.FontSize);
  return Box{text.At[0], text.At[1], text.At[0] + size.X, text.At[1] + size.Y};
}

bool Overlap(const Box& a, const Box& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

// Whether the line crosses the box's inside (the line's width left out: values may touch).
bool Crosses(const testing::RecordingCanvas::Shape& line, const Box& box) {
  constexpr int kSamples = 32;
  for (int i = 0; i <= kSamples; ++i) {
    const double x = line.At[0] + (line.At[2] - line.At[0]) * i / double(kSamples);
    const double y = line.At[1] + (line.At[3] - line.At[1]) * i / double(kSamples);
    if (box.Left < x && x < box.Right && box.Top < y && y < box.Bottom) return true;
  }
  return false;
}

TEST(SolutionPicture, ValuesCoverNoTextNoLineAndNoOtherValue) {
  int values = 0;
  for (const auto& entry : fs::directory_iterator(LUDOMARK_EXAMPLES_DIR)) {
    if (entry.path().extension() != ".lmx") continue;
    const std::string name = entry.path().filename().string();
    TGameType32 game;
    ASSERT_TRUE(testing::SolveExample(name, kSolveMixed, game)) << name;
    testing::RecordingCanvas alone;
    game.Draw(alone);
    const std::size_t gameShapes = alone.Shapes.size();
    game.Solutions().ForEachAs<TSolution32>([&](TSolution32* solution) {
      testing::RecordingCanvas canvas;
      DrawGameWithSolution(canvas, game, solution);
      std::vector<Box> texts;
      std::vector<testing::RecordingCanvas::Shape> lines;
      std::vector<Box> placed;
      for (std::size_t i = 0; i < canvas.Shapes.size(); ++i) {
        const auto& shape = canvas.Shapes[i];
        if (i < gameShapes && shape.Kind == "line") lines.push_back(shape);
        if (shape.Kind != "text" || shape.Text.empty()) continue;
        (i < gameShapes ? texts : placed).push_back(TextBox(shape));
      }
      for (std::size_t t = 0; t < texts.size(); ++t) {
        for (std::size_t u = 0; u < t; ++u)
          EXPECT_FALSE(Overlap(texts[t], texts[u])) << name << " game";
      }
      for (std::size_t v = 0; v < placed.size(); ++v) {
        const Box& value = placed[v];
        for (const Box& text : texts)
          EXPECT_FALSE(Overlap(value, text)) << name << " " << solution->Name;
        for (std::size_t w = 0; w < v; ++w) EXPECT_FALSE(Overlap(value, placed[w])) << name;
        for (const auto& line : lines)
          EXPECT_FALSE(Crosses(line, value)) << name << " " << solution->Name;
      }
      values += static_cast<int>(placed.size());
    });
  }
  EXPECT_GT(values, 100);
}

}  // namespace
}  // namespace ludomark
