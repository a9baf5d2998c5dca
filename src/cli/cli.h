#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace ludomark::cli {

enum ExitCode : int {
  kExitOk = 0,
  kExitFlawed = 1,
  kExitUsage = 2,
  kExitNoSolution = 3,
  kExitInterrupted = 130,  // as shells report Ctrl+C
};

// Runs one command line (without the program name); output goes to out, problems to err.
// With showProgress, a solve run shows its stage and percentage on err.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        bool showProgress = false);

}  // namespace ludomark::cli
