#pragma once

#include <string>
#include <vector>

namespace ludomark::testing {

// What one command line of the tool printed and answered.
struct CliResult {
  int code;
  std::string out;
  std::string err;
};

CliResult RunCli(const std::vector<std::string>& args);
// The same, by the short name the command-line tests use.
inline CliResult Cli(const std::vector<std::string>& args) {
  return RunCli(args);
}

// The whole content of a file, bytes as they are.
std::string ReadWholeFile(const std::string& path);

}  // namespace ludomark::testing
