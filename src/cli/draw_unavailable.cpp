// The draw command of a build without the desktop layer: it has no way to paint, so it says so
// instead of pretending the command does not exist.
#include <ostream>

#include "cli/cli.h"
#include "cli/commands.h"

namespace ludomark::cli {

int DrawCommand(const DrawOptions& /*options*/, std::ostream& err) {
  err << "ludomark-cli: this build draws no pictures (it was built without the desktop layer; "
         "configure with -DLUDOMARK_DESKTOP=ON to draw)\n";
  return kExitUsage;
}

}  // namespace ludomark::cli
