#include "support/run_cli.h"

#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "cli/commands.h"

namespace ludomark::testing {

CliResult RunCli(const std::vector<std::string>& args) {
#if defined(LUDOMARK_TESTS_DRAW)
  // The tests draw in their own process, as the drawing program does.
  static const bool drawing = (cli::UseDrawing(&cli::DrawHere), true);
  (void)drawing;
#endif
  std::ostringstream out;
  std::ostringstream err;
  const int code = cli::Run(args, out, err);
  return {code, out.str(), err.str()};
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace ludomark::testing
