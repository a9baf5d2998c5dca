#include "cli/cli.h"

#include <ostream>

#include "cli/commands.h"

namespace ludomark::cli {

namespace {

constexpr const char* kUsage = "usage: ludomark-cli <command> [options] FILE.lmx";

void PrintHelp(std::ostream& out) {
  out << kUsage << "\n\n"
      << "Commands:\n"
      << "  list FILE.lmx    read the game and print every element, by kind\n"
      << "  audit FILE.lmx   check the game: its elements when it passes, its flaws when not\n"
      << "  solve FILE.lmx [--method pure|mixed|sampling] [--json] [--save] [--debug]\n"
      << "                   audit and solve the game and print every solution found:\n"
      << "                   choice probabilities and values, beliefs, node values\n"
      << "      --method     pure: pure equilibria only; mixed (default): also mixed ones;\n"
      << "                   sampling: mixed equilibria from 200 random starting points\n"
      << "      --json       print one JSON object instead of text\n"
      << "      --save       save the game and append the solutions to its file\n"
      << "      --debug      trace the solver and print its log after the solutions\n"
      << "                   Ctrl+C stops a run; the solutions found so far are printed\n"
      << "  help             show this text (also --help, -h)\n\n"
      << "Exit codes: 0 done, 1 the game is flawed, 2 bad command line or unreadable file,\n"
      << "3 no solution found.\n";
}

int UsageError(std::ostream& err, const std::string& problem) {
  err << "ludomark-cli: " << problem << "\n" << kUsage << "\n";
  return kExitUsage;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        bool showProgress) {
  if (args.empty()) return UsageError(err, "no command given");
  const std::string& command = args[0];
  if (command == "help" || command == "--help" || command == "-h") {
    PrintHelp(out);
    return kExitOk;
  }
  if (command == "list" || command == "audit" || command == "solve") {
    SolveOptions options;
    std::vector<std::string> files;
    for (std::size_t i = 1; i < args.size(); ++i) {
      const std::string& arg = args[i];
      if (arg == "--help" || arg == "-h") {
        PrintHelp(out);
        return kExitOk;
      }
      if (command == "solve" && (arg == "--method" || arg.rfind("--method=", 0) == 0)) {
        std::string value;
        if (arg == "--method") {
          if (i + 1 >= args.size())
            return UsageError(err, "--method needs pure, mixed or sampling");
          value = args[++i];
        } else {
          value = arg.substr(9);
        }
        if (value == "pure") {
          options.Method = kSolvePure;
        } else if (value == "mixed") {
          options.Method = kSolveMixed;
        } else if (value == "sampling") {
          options.Method = kSolveSampling;
        } else {
          return UsageError(err, "unknown method '" + value + "' (pure, mixed or sampling)");
        }
        continue;
      }
      if (command == "solve" && arg == "--json") {
        options.Json = true;
        continue;
      }
      if (command == "solve" && arg == "--save") {
        options.Save = true;
        continue;
      }
      if (command == "solve" && arg == "--debug") {
        options.Debug = true;
        continue;
      }
      if (arg.size() > 1 && arg[0] == '-') {
        std::string problem = "unknown option '";
        problem.append(arg).append("' for ").append(command);
        return UsageError(err, problem);
      }
      files.push_back(arg);
    }
    if (files.size() != 1) return UsageError(err, command + " takes exactly one game file");
    if (command == "list") return ListCommand(files[0], out, err);
    if (command == "audit") return AuditCommand(files[0], out, err);
    options.Path = files[0];
    options.ShowProgress = showProgress;
    return SolveCommand(options, out, err);
  }
  return UsageError(err, "unknown command '" + command + "'");
}

}  // namespace ludomark::cli
