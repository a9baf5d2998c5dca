// Painting a game of about 1 000 elements: on an offscreen 2000 x 2000 image through Qt, and on
// a canvas that only counts, which is the drawing code's own share.
#include <benchmark/benchmark.h>

#include "game_generators.h"
#include "model/canvas.h"
#include "model/move.h"
#include "model/node.h"
#include "ui/view/picture.h"

namespace ludomark {
namespace {

class CountingCanvas : public TCanvas {
 public:
  void SetPenColor(int32_t) override {}
  void SetPenWidth(int32_t) override {}
  void SetPenStyle(TPenStyle) override {}
  void SetBrushColor(int32_t) override {}
  void SetFontColor(int32_t) override {}
  void SetFontSize(int32_t) override {}
  void SetFontStyle(TFontStyle) override {}
  void MoveTo(int32_t, int32_t) override {}
  void LineTo(int32_t, int32_t) override { ++Shapes; }
  void Ellipse(int32_t, int32_t, int32_t, int32_t) override { ++Shapes; }
  void Rectangle(int32_t, int32_t, int32_t, int32_t) override { ++Shapes; }
  void RoundRect(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override { ++Shapes; }
  void FillPolygon(const std::array<TPoint, 3>&) override { ++Shapes; }
  void TextOut(int32_t, int32_t, const std::string&) override { ++Shapes; }
  void ShiftOrigin(int32_t, int32_t) override {}
  long Shapes = 0;
};

// The generated game spread over the page, so that every move has a curve of its own.
void SpreadGame(TGameType32& game) {
  bench::BuildGeneratedGame(game, 300, /*cycles=*/false);
  int i = 0;
  game.Nodes().ForEach([&](TGameObject32* n) {
    n->SetPosition(40 + (i % 40) * 48, 40 + (i / 40) * 200);
    ++i;
  });
  game.Moves().ForEach([](TGameObject32* m) { m->Refresh(); });
}

void BM_PaintOffscreenImage(benchmark::State& state) {
  TGameType32 game;
  SpreadGame(game);
  TOffscreenPicture picture(2000, 2000);
  for (auto _ : state) picture.Paint(game, nullptr, /*grid=*/false);
  state.counters["elements"] = game.Nodes().LiveCount() + game.Moves().LiveCount() +
                               game.Payoffs().LiveCount() + game.Infos().LiveCount();
}
BENCHMARK(BM_PaintOffscreenImage)->Unit(benchmark::kMillisecond);

void BM_PaintCountingCanvas(benchmark::State& state) {
  TGameType32 game;
  SpreadGame(game);
  CountingCanvas canvas;
  for (auto _ : state) game.Draw(canvas);
  benchmark::DoNotOptimize(canvas.Shapes);
}
BENCHMARK(BM_PaintCountingCanvas)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ludomark
