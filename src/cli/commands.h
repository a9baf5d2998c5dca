#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "model/settings.h"

namespace ludomark::cli {

// Prints the listing of every element of the game in the file.
int ListCommand(const std::string& path, std::ostream& out, std::ostream& err);
// Audits the game: the element listing when it passes (exit 0), the findings when not (1).
int AuditCommand(const std::string& path, std::ostream& out, std::ostream& err);

// Reads a .efg or .nfg game and writes it as a game file (.lmx); nothing is written on failure.
int ImportCommand(const std::string& in, const std::string& out, std::ostream& err);
// Writes the game as a .efg tree or a .nfg table; refused, with the reason, when the game is
// neither, and then nothing is written.
int ExportCommand(const std::string& in, const std::string& out, std::ostream& err);

struct SolveOptions {
  std::string Path;
  int Method = kSolveMixed;
  bool Json = false;
  bool Save = false;
  bool Debug = false;
  bool Force = false;         // enumerate even where the estimate says it would not finish
  bool ShowProgress = false;  // stage and percentage on err while solving
  int Jobs = 0;               // worker threads; 0: one per core
  int ShardIndex = 0;         // with ShardCount: run only this shard, 1 to ShardCount
  int ShardCount = 0;
  std::string Out;  // where a shard writes its part
};

struct MergeOptions {
  std::string Path;
  std::vector<std::string> Parts;
  bool Json = false;
  bool Save = false;
  bool ShowProgress = false;
};

struct DrawOptions {
  std::string Path;
  std::string Out;       // .png, .bmp or .svg
  std::string Solution;  // the name of a stored solution to draw over the game
  double Zoom = 1.0;
  bool Grid = false;
  bool Trim = false;   // cut to what is drawn
  bool Debug = false;  // temporary elements too
};

// Writes the picture of the game (and a stored solution over it) with the drawing the program
// was given (UseDrawing); without one it says that this build draws no pictures.
int DrawCommand(const DrawOptions& options, std::ostream& err);
using TDrawing = int (*)(const DrawOptions& options, std::ostream& err);
void UseDrawing(TDrawing drawing);
// The drawings there are: pictures painted in this process (the desktop layer's, in desktop
// builds), and the drawing program beside this one, which the command line runs in its place
// so that every other command starts without the drawing libraries.
int DrawHere(const DrawOptions& options, std::ostream& err);
int DrawInDrawingProgram(const DrawOptions& options, std::ostream& err);

// Audits and solves the game and prints every solution; 3 when none is found. With a shard,
// runs only that share of the run and writes the part for a merge.
int SolveCommand(const SolveOptions& options, std::ostream& out, std::ostream& err);
// Records the points of every part of a sharded run into the game and prints (or saves) the
// result as one run would; refuses parts that are missing, cut short, stopped, or of another
// game, naming them.
int MergeCommand(const MergeOptions& options, std::ostream& out, std::ostream& err);

}  // namespace ludomark::cli
