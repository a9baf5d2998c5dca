#include "document/solution_picture.h"

#include "model/obstacles.h"

namespace ludomark {

void DrawGameWithSolution(TCanvas& canvas, TGameForm32& game, TSolution32* solution,
                          const TRect* view) {
  if (solution == nullptr) {
    game.Draw(canvas, view);
    return;
  }
  TObstacles drawn;
  TObstacleCanvas noting(canvas, drawn);
  game.Draw(noting, view);
  solution->Draw(canvas, drawn);
}

}  // namespace ludomark
