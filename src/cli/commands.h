#pragma once

#include <iosfwd>
#include <string>

#include "model/settings.h"

namespace ludomark::cli {

// Prints the listing of every element of the game in the file.
int ListCommand(const std::string& path, std::ostream& out, std::ostream& err);
// Audits the game: the element listing when it passes (exit 0), the findings when not (1).
int AuditCommand(const std::string& path, std::ostream& out, std::ostream& err);

struct SolveOptions {
  std::string Path;
  int Method = kSolveMixed;
  bool Json = false;
  bool Save = false;
  bool Debug = false;
  bool ShowProgress = false;  // stage and percentage on err while solving
};

// Audits and solves the game and prints every solution; 3 when none is found.
int SolveCommand(const SolveOptions& options, std::ostream& out, std::ostream& err);

}  // namespace ludomark::cli
