#pragma once

#include <iosfwd>
#include <string>

#include "document/game_form.h"
#include "gamefile/file_identity.h"
#include "solver/solve_run.h"

namespace ludomark::cli {

struct ReportOptions {
  std::string Path;
  int Method = 2;
  bool Json = false;
  bool Save = false;
  bool Debug = false;
  std::string Refusal;  // why a run refused a game too large for the memory
  TFileIdentity Read;   // the file as it was read: a save does not replace another's work
};

// What a solve or a merge prints once its run is over, and the saving of the solutions;
// answers the exit code.
int ReportRun(TGameType32& game, TSolveRun::Start start, const ReportOptions& options,
              std::ostream& out, std::ostream& err);

// The method's name as the command line and the JSON output spell it.
const char* MethodName(int method);

}  // namespace ludomark::cli
