#include "cli/cli.h"

#include <ostream>

#include "cli/commands.h"

namespace ludomark::cli {

namespace {

constexpr const char* kUsage = "usage: ludomark-cli <command> [options] FILE.lmx";

void PrintHelp(std::ostream& out) {
  out << kUsage << "\n\n"
      << "Commands:\n"
      << "  list FILE.lmx   read the game and print every element, by kind\n"
      << "  help            show this text (also --help, -h)\n\n"
      << "Exit codes: 0 done, 2 bad command line or unreadable file.\n";
}

int UsageError(std::ostream& err, const std::string& problem) {
  err << "ludomark-cli: " << problem << "\n" << kUsage << "\n";
  return kExitUsage;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return UsageError(err, "no command given");
  const std::string& command = args[0];
  if (command == "help" || command == "--help" || command == "-h") {
    PrintHelp(out);
    return kExitOk;
  }
  if (command == "list") {
    std::vector<std::string> files;
    for (std::size_t i = 1; i < args.size(); ++i) {
      if (args[i].size() > 1 && args[i][0] == '-') {
        if (args[i] == "--help" || args[i] == "-h") {
          PrintHelp(out);
          return kExitOk;
        }
        return UsageError(err, "unknown option '" + args[i] + "' for list");
      }
      files.push_back(args[i]);
    }
    if (files.size() != 1) return UsageError(err, "list takes exactly one game file");
    return ListCommand(files[0], out, err);
  }
  return UsageError(err, "unknown command '" + command + "'");
}

}  // namespace ludomark::cli
