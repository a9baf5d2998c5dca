#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "document/game_form.h"

namespace ludomark::session {

// One solution as the reports give it, in plain values: what the JSON form prints and what the
// Python module hands its callers.
struct ChoiceReport {
  std::string Name;
  std::string Set;  // the side of a table strategy, the first member node of a set otherwise
  std::string Player;
  double Probability = 0;
  double Expected = 0;
  bool Best = false;
  std::string Exact;  // the probability as a fraction ("2/3") where the method gives one
};
struct NodeValueReport {
  std::string Player;
  double Value = 0;
};
struct NodeReport {
  std::string Name;
  std::optional<std::string> Player;  // none at a chance node, which has no belief either
  std::optional<double> Belief;
  std::vector<NodeValueReport> Values;  // one per player, in player order
};
struct SolutionReport {
  std::string Name;
  int Kind = 0;  // 1 pure, 2 mixed, 3 sampled
  std::vector<ChoiceReport> Choices;
  std::vector<NodeReport> Nodes;
};

// The solutions of the solved game, in list order, with the choices of players that are not
// temporary in Strategies order and the nodes that are not temporary in Nodes order.
std::vector<SolutionReport> SolutionReports(TGameForm32& game);

// Every solution of the solved game with the probability and expected value of every choice
// of a player, the belief at every node of a player and every player's value at every node.
void PrintSolutionsText(TGameForm32& game, std::ostream& out);
// The JSON form adds how the run ended ("solved", "no solution", "flawed", "stopped") and, for
// a flawed game, the text of every finding.
void PrintSolutionsJson(TGameForm32& game, const std::string& file, const std::string& method,
                        const std::string& outcome, std::ostream& out);
// The text as UTF-8: bytes that are no part of UTF-8 text become the Latin-1 characters they
// would be, as JsonString writes them.
std::string AsUtf8(const std::string& text);
// A JSON string: UTF-8 passes as it is, other bytes as the Latin-1 characters they would be.
std::string JsonString(const std::string& text);

}  // namespace ludomark::session
