// The draw command run by the drawing program beside this one (ludomark-draw, the same command
// line with the drawing libraries): it replaces this process, so its output, exit code and
// standard input are the command's own.
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/cli.h"
#include "cli/commands.h"

namespace ludomark::cli {

namespace {

namespace fs = std::filesystem;

// Beside this program (a build folder, or the same bin folder), or where it is installed.
std::string DrawingProgram() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error) return "";
  const fs::path dir = self.parent_path();
  for (const fs::path& candidate :
       {dir / "ludomark-draw", dir / ".." / "libexec" / "ludomark" / "ludomark-draw"}) {
    if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  return "";
}

std::string ZoomText(double value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;  // shortest, exact
  return std::string(text, end);
}

}  // namespace

int DrawInDrawingProgram(const DrawOptions& options, std::ostream& err) {
  const std::string program = DrawingProgram();
  if (program.empty()) {
    err << "ludomark-cli: the drawing program ludomark-draw is not installed beside this one\n";
    return kExitUsage;
  }
  std::vector<std::string> args = {program,     "draw",   options.Path,          "--out",
                                   options.Out, "--zoom", ZoomText(options.Zoom)};
  if (!options.Solution.empty()) args.insert(args.end(), {"--solution", options.Solution});
  if (options.Grid) args.emplace_back("--grid");
  if (options.Trim) args.emplace_back("--trim");
  if (options.Debug) args.emplace_back("--debug");
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::cout.flush();
  err.flush();
  ::execv(program.c_str(), argv.data());
  err << "ludomark-cli: cannot run " << program << ": " << std::strerror(errno) << "\n";
  return kExitUsage;
}

}  // namespace ludomark::cli
