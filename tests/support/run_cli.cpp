#include "support/run_cli.h"

#include <fstream>
#include <sstream>

#include "cli/cli.h"

namespace ludomark::testing {

CliResult RunCli(const std::vector<std::string>& args) {
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
