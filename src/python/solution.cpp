#include <pybind11/stl.h>

#include <cmath>

#include "python/game_state.h"

namespace ludomark::python {
namespace {

// Numbers as the JSON output gives them: what is not finite is null.
py::object Number(double value) {
  if (!std::isfinite(value)) return py::none();
  return py::float_(value);
}

const char* KindName(int kind) {
  return kind == 1 ? "pure" : kind == 2 ? "mixed" : kind == 3 ? "sampled" : "unknown";
}

py::list Choices(const Solution& s) {
  py::list choices;
  for (const session::ChoiceReport& c : s.Report.Choices) {
    py::dict d;
    d["name"] = c.Name;
    d["set"] = c.Set;
    d["player"] = c.Player;
    d["probability"] = Number(c.Probability);
    d["expected"] = Number(c.Expected);
    d["best"] = c.Best;
    if (!c.Exact.empty()) d["exact"] = c.Exact;
    choices.append(d);
  }
  return choices;
}

py::list Nodes(const Solution& s) {
  py::list nodes;
  for (const session::NodeReport& n : s.Report.Nodes) {
    py::dict d;
    d["name"] = n.Name;
    d["player"] = n.Player ? py::object(py::str(*n.Player)) : py::none();
    d["belief"] = n.Belief ? Number(*n.Belief) : py::none();
    py::list values;
    for (const session::NodeValueReport& v : n.Values) {
      py::dict value;
      value["player"] = v.Player;
      value["value"] = Number(v.Value);
      values.append(value);
    }
    d["values"] = values;
    nodes.append(d);
  }
  return nodes;
}

// A mapping of (set, choice) to one number of each choice.
template <class Field>
py::dict ByChoice(const Solution& s, Field field) {
  py::dict d;
  for (const session::ChoiceReport& c : s.Report.Choices)
    d[py::make_tuple(c.Set, c.Name)] = Number(field(c));
  return d;
}

}  // namespace

py::class_<Solution> BindSolution(py::module_& m) {
  py::class_<Solution> solution(m, "Solution", "An equilibrium a run found, as plain data.");
  solution
      .def_property_readonly(
          "name", [](const Solution& s) { return s.Report.Name; },
          "Its name: P, M or S (C when in two groups), the group and its place in it.")
      .def_property_readonly(
          "kind", [](const Solution& s) { return KindName(s.Report.Kind); },
          "'pure', 'mixed' or 'sampled'.")
      .def_property_readonly(
          "method", [](const Solution& s) { return s.Method; }, "The method that found it.")
      .def_property_readonly("choices", &Choices,
                             "Every choice of a player: name, set, player, probability, "
                             "expected value, whether it is a best reply.")
      .def_property_readonly(
          "probabilities",
          [](const Solution& s) {
            return ByChoice(s, [](const session::ChoiceReport& c) { return c.Probability; });
          },
          "The probability of each choice, by (set, choice).")
      .def_property_readonly(
          "exact_probabilities",
          [](const Solution& s) -> py::object {
            // Only the exact method gives fractions; other solutions have none.
            const bool exact = !s.Report.Choices.empty() && !s.Report.Choices[0].Exact.empty();
            if (!exact) return py::none();
            const py::object fraction = py::module_::import("fractions").attr("Fraction");
            py::dict d;
            for (const session::ChoiceReport& c : s.Report.Choices)
              d[py::make_tuple(c.Set, c.Name)] = fraction(c.Exact);
            return d;
          },
          "The probability of each choice as a fractions.Fraction, by (set, choice), for a "
          "solution of the exact method; None for the others.")
      .def_property_readonly(
          "expected",
          [](const Solution& s) {
            return ByChoice(s, [](const session::ChoiceReport& c) { return c.Expected; });
          },
          "The expected value of each choice to its player, by (set, choice).")
      .def_property_readonly(
          "beliefs",
          [](const Solution& s) {
            py::dict d;
            for (const session::NodeReport& n : s.Report.Nodes) {
              if (n.Belief) d[py::str(n.Name)] = Number(*n.Belief);
            }
            return d;
          },
          "The belief at each node of a player, by node name.")
      .def_property_readonly(
          "values",
          [](const Solution& s) {
            py::dict d;
            for (const session::NodeReport& n : s.Report.Nodes) {
              py::dict values;
              for (const session::NodeValueReport& v : n.Values)
                values[py::str(v.Player)] = Number(v.Value);
              d[py::str(n.Name)] = values;
            }
            return d;
          },
          "Each player's value at each node, by node name and player name.")
      .def(
          "to_dict",
          [](const Solution& s) {
            py::dict d;
            d["name"] = s.Report.Name;
            d["kind"] = s.Report.Kind;
            d["choices"] = Choices(s);
            d["nodes"] = Nodes(s);
            return d;
          },
          "The solution as one entry of the command line's JSON output.")
      .def("__repr__", [](const Solution& s) {
        return "<ludomark.Solution '" + s.Report.Name + "' (" + KindName(s.Report.Kind) + ")>";
      });
  return solution;
}

}  // namespace ludomark::python
