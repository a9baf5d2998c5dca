// Painting a game of about 1 000 elements (and of 1 800): on an offscreen 2000 x 2000 image
// through Qt, and on a canvas that only counts, which is the drawing code's own share.
#include <benchmark/benchmark.h>

#include "game_generators.h"
#include "model/canvas.h"
#include "model/move.h"
#include "model/node.h"
#include "support/game_builder.h"
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
  TPoint TextExtent(const std::string& text) override { return EstimatedTextExtent(text, 8); }
  long Shapes = 0;
};

// The generated tree spread over the page, so that every move has a curve of its own, with
// information sets and a 3 x 3 table below it.
void SpreadGame(TGameType32& game, int nodes) {
  bench::BuildWideTree(game, nodes, /*fanOut=*/2);
  int i = 0;
  game.Nodes().ForEach([&](TGameObject32* n) {
    n->SetPosition(40 + (i % 40) * 48, 40 + (i / 40) * 200);
    ++i;
  });
  game.Moves().ForEach([](TGameObject32* m) { m->Refresh(); });
  testing::GameBuilder b(game);
  TTable32* table = b.Table("Table", 1000, 1800);
  TPlayer32* first = nullptr;
  TPlayer32* second = nullptr;
  game.Players().ForEachAs<TPlayer32>([&](TPlayer32* p) {
    if (first == nullptr) {
      first = p;
    } else if (second == nullptr) {
      second = p;
    }
  });
  b.Side(table, first, "Rows", {"a", "b", "c"});
  b.Side(table, second, "Columns", {"x", "y", "z"});
}

int64_t Elements(TGameType32& game) {
  int64_t n = 0;
  for (TGameList* list : {&game.Players(), &game.Nodes(), &game.Moves(), &game.Infos(),
                          &game.Payoffs(), &game.Strategies()}) {
    n += list->LiveCount();
  }
  return n;
}

void BM_PaintOffscreenImage(benchmark::State& state) {
  TGameType32 game;
  SpreadGame(game, static_cast<int>(state.range(0)));
  TOffscreenPicture picture(2000, 2000);
  for (auto _ : state) picture.Paint(game, nullptr, /*grid=*/false);
  state.counters["elements"] = static_cast<double>(Elements(game));
}
BENCHMARK(BM_PaintOffscreenImage)->Arg(200)->Arg(360)->Unit(benchmark::kMillisecond);

void BM_PaintCountingCanvas(benchmark::State& state) {
  TGameType32 game;
  SpreadGame(game, static_cast<int>(state.range(0)));
  CountingCanvas canvas;
  for (auto _ : state) game.Draw(canvas);
  benchmark::DoNotOptimize(canvas.Shapes);
  state.counters["shapes"] =
      static_cast<double>(canvas.Shapes) / static_cast<double>(state.iterations());
  state.counters["elements"] = static_cast<double>(Elements(game));
}
BENCHMARK(BM_PaintCountingCanvas)->Arg(200)->Arg(360)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ludomark
