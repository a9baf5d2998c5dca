// Which drawing the draw command uses. A program without one (a build without the desktop
// layer) has no way to paint, so it says so instead of pretending the command does not exist.
#include <ostream>

#include "cli/cli.h"
#include "cli/commands.h"

namespace ludomark::cli {

namespace {
TDrawing& Drawing() {
  static TDrawing drawing = nullptr;
  return drawing;
}
}  // namespace

void UseDrawing(TDrawing drawing) {
  Drawing() = drawing;
}

int DrawCommand(const DrawOptions& options, std::ostream& err) {
  if (Drawing() != nullptr) return Drawing()(options, err);
  err << "ludomark-cli: this build draws no pictures (it was built without the desktop layer; "
         "configure with -DLUDOMARK_DESKTOP=ON to draw)\n";
  return kExitUsage;
}

}  // namespace ludomark::cli
