#include <algorithm>
#include <map>
#include <ostream>

#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/interrupt_guard.h"
#include "cli/progress_observer.h"
#include "cli/run_report.h"
#include "cli/shard_part.h"
#include "gamefile/file_error.h"
#include "gamefile/file_identity.h"
#include "gamefile/game_file.h"
#include "model/settings.h"
#include "session/load_game.h"

namespace ludomark::cli {

namespace {

// Every shard exactly once, all of one run; answers the problem, or nothing.
std::string CheckParts(const std::vector<std::string>& paths, std::vector<TShardPart>& parts) {
  const TShardPart& first = parts[0];
  std::map<int, std::string> seen;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const TShardPart& part = parts[i];
    const std::string& path = paths[i];
    if (part.Count != first.Count || part.Method != first.Method) {
      return "'" + path + "' is part " + std::to_string(part.Index) + " of " +
             std::to_string(part.Count) + " by the " + MethodName(part.Method) + " method, but '" +
             paths[0] + "' is part " + std::to_string(first.Index) + " of " +
             std::to_string(first.Count) + " by the " + MethodName(first.Method) + " method";
    }
    if (!part.Complete) {
      return "'" + path + "' (part " + std::to_string(part.Index) + " of " +
             std::to_string(part.Count) +
             ") was stopped before its share was done: run that shard again";
    }
    auto [at, fresh] = seen.emplace(part.Index, path);
    if (!fresh) {
      return "part " + std::to_string(part.Index) + " of " + std::to_string(part.Count) +
             " is given twice ('" + at->second + "' and '" + path + "')";
    }
  }
  std::string missing;
  for (int index = 1; index <= first.Count; ++index) {
    if (seen.count(index) != 0) continue;
    if (!missing.empty()) missing += ", ";
    missing += std::to_string(index);
  }
  if (!missing.empty()) {
    return "parts " + missing + " of " + std::to_string(first.Count) +
           " are missing: every part of the run is needed";
  }
  return "";
}

// Profiling runs whole in every shard, so its points are taken once; the parts must agree on
// them, as parts of one run do.
std::string CollectPoints(const std::vector<std::string>& paths, std::vector<TShardPart>& parts,
                          std::vector<TFoundPoint>& points) {
  auto profiles = [](const TShardPart& part) {
    std::vector<TFoundPoint> found;
    for (const TFoundPoint& p : part.Points) {
      if (p.Stage == kFoundProfiling && p.Kind != kEndState) found.push_back(p);
    }
    return found;
  };
  const std::vector<TFoundPoint> first = profiles(parts[0]);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0 && profiles(parts[i]) != first) {
      return "'" + paths[i] + "' disagrees with '" + paths[0] +
             "' on the pure equilibria: they are not parts of one run";
    }
    for (TFoundPoint& p : parts[i].Points) {
      if (p.Stage != kFoundProfiling || p.Kind == kEndState) points.push_back(std::move(p));
    }
  }
  points.insert(points.end(), first.begin(), first.end());
  return "";
}

}  // namespace

int MergeCommand(const MergeOptions& options, std::ostream& out, std::ostream& err) {
  TGameType32 game;
  const TFileIdentity read = IdentityOfFile(options.Path);
  if (!session::LoadGame(options.Path, game, err)) return kExitUsage;
  const std::string gameText = GameFileText(game);
  std::vector<TShardPart> parts;
  try {
    for (const std::string& path : options.Parts) parts.push_back(ReadPartFile(path, gameText));
  } catch (const TFileError& e) {
    err << "ludomark-cli: " << e.what() << "\n";
    return kExitUsage;
  }
  std::vector<TFoundPoint> points;
  std::string problem = CheckParts(options.Parts, parts);
  if (problem.empty()) problem = CollectPoints(options.Parts, parts, points);
  if (!problem.empty()) {
    err << "ludomark-cli: " << problem << "\n";
    return kExitUsage;
  }
  const int method = parts[0].Method;
  TSolveRun run;
  run.FixedMethod = method;
  TSolveRun::Start start;
  {
    InterruptGuard guard(run);
    TSolveObserver quiet;
    TProgressLine progress(err);
    TSolveObserver& observer = options.ShowProgress ? progress : quiet;
    start = run.Prepare(game);
    if (start == TSolveRun::Start::Ran) {
      const int choices = game.Strategies().LiveCount();
      if (std::any_of(parts.begin(), parts.end(), [&](const TShardPart& part) {
            return part.Choices != 0 && part.Choices != choices;
          })) {
        err << "ludomark-cli: the parts hold another game than '" << options.Path << "'\n";
        return kExitUsage;
      }
      run.RunMerge(game, observer, std::move(points));
    }
  }
  if (run.Unconfirmed > 0) {
    err << "ludomark-cli: " << run.Unconfirmed << " points of the parts are not equilibria of '"
        << options.Path << "': the parts hold another game\n";
    return kExitUsage;
  }
  ReportOptions report{options.Path,    method,      options.Json, options.Save,
                       /*Debug=*/false, run.Refusal, read};
  return ReportRun(game, start, report, out, err);
}

}  // namespace ludomark::cli
