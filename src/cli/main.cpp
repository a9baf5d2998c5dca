#include <unistd.h>

#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/commands.h"

int main(int argc, char** argv) {
#if defined(LUDOMARK_DRAW_HERE)
  ludomark::cli::UseDrawing(&ludomark::cli::DrawHere);
#elif defined(LUDOMARK_DRAW_ELSEWHERE)
  ludomark::cli::UseDrawing(&ludomark::cli::DrawInDrawingProgram);
#endif
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    return ludomark::cli::Run(args, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
  } catch (const std::bad_alloc&) {
    // What the runs' own estimate let through: a clear refusal, not an abort.
    std::cerr << "ludomark-cli: out of memory: the game is too large for this machine\n";
    return ludomark::cli::kExitUsage;
  }
}
