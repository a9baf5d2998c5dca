// Pictures painted in this process, by the desktop layer's drawing.
#include <charconv>
#include <ostream>

#include "cli/cli.h"
#include "cli/commands.h"
#include "gamefile/file_error.h"
#include "model/settings.h"
#include "model/solution.h"
#include "session/load_game.h"
#include "ui/view/picture.h"

namespace ludomark::cli {

int DrawHere(const DrawOptions& options, std::ostream& err) {
  if (!(options.Zoom >= 0.8 && options.Zoom <= 1.6)) {
    err << "ludomark-cli: the zoom must lie between 0.8 and 1.6\n";
    return kExitUsage;
  }
  if (!IsPictureFile(options.Out)) {
    err << "ludomark-cli: pictures are written as .png, .bmp or .svg: " << options.Out << "\n";
    return kExitUsage;
  }
  TGameType32 game;
  if (!session::LoadGame(options.Path, game, err)) return kExitUsage;
  TSolution32* solution = nullptr;
  if (!options.Solution.empty()) {
    game.Solutions().ForEachAs<TSolution32>([&](TSolution32* s) {
      if (solution == nullptr && s->Name == options.Solution) solution = s;
    });
    if (solution == nullptr) {
      err << "ludomark-cli: the file holds no solution named '" << options.Solution << "'\n";
      return kExitUsage;
    }
  }
  DebugMode = options.Debug;
  try {
    WritePicture(game, solution, options.Out,
                 TPictureOptions{options.Zoom, options.Grid, options.Trim});
  } catch (const TFileError& e) {
    DebugMode = false;
    err << "ludomark-cli: " << e.what() << "\n";
    return kExitUsage;
  }
  DebugMode = false;
  return kExitOk;
}

}  // namespace ludomark::cli
