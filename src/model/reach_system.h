#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

namespace ludomark {

// The system I - T of play under a profile, where T(a, b) is the chance that play at node a goes
// on to node b. It is solved one strongly connected component at a time: the acyclic parts are
// walked in one pass (forwards for reach, backwards for values), and only a cycle's component
// is factored as a dense system of its own size. Memory is that of the moves plus the squares
// of the cycles' components, never nodes x nodes.
class TReachSystem {
 public:
  struct Edge {
    int From = 0;  // node numbers, 1 to the number of nodes
    int To = 0;
  };

  // The shape: the nodes and the moves between them, in the order their weights come in.
  // Edges with an end outside the nodes are ignored (their weights too).
  void Build(int nodes, const std::vector<Edge>& edges);
  // The weights of the current profile, one per edge of Build; false when I - T is singular (a
  // component without a pivot above 1e-150, or weights that are not finite) or on a stop.
  bool Factor(const std::vector<double>& weights, const std::atomic<bool>* stop = nullptr);
  // x := (I - T)^-1 x, by node (entry 0 is node 1): the values of rewards x.
  void SolveColumn(std::vector<double>& x) const;
  // r := r (I - T)^-1, by node: the reach of every node from the starting weights r.
  void SolveRow(std::vector<double>& r) const;
  // The same when r is zero but at the nodes `starts` (0-based): only what play reaches from
  // them is visited.
  void SolveRowFrom(std::vector<double>& r, const std::vector<int>& starts) const;

  int Nodes() const { return nodes_; }
  // The bytes a system of this shape takes once factored.
  static std::uint64_t Bytes(int nodes, const std::vector<Edge>& edges);

 private:
  struct Component {
    int First = 0;  // its nodes: members_[First] up to members_[First + Size - 1]
    int Size = 0;
    std::size_t Dense = 0;  // where its factors start in factors_ (cyclic components)
    bool Cyclic = false;    // several nodes, or one node with a move to itself
  };
  // The edges by the node they leave (outStart_, outTo_, outSlot_).
  void LinkEdges(int nodes, const std::vector<Edge>& edges);
  // The components, sinks first: every edge leaving a component goes to one before it.
  static void FindComponents(int nodes, const std::vector<int>& start, const std::vector<int>& to,
                             std::vector<int>& componentOf, std::vector<int>& members,
                             std::vector<int>& firsts);

  int nodes_ = 0;
  std::vector<Component> components_;
  std::vector<int> members_;      // nodes (0-based) by component
  std::vector<int> componentOf_;  // by node
  std::vector<int> placeOf_;      // by node: its place among its component's members
  // Edges by the node they leave; the weights come in through the place kept for each input
  // edge (kIgnored for one outside the nodes).
  std::vector<int> outStart_, outTo_;
  std::vector<std::size_t> outSlot_;
  std::vector<double> outWeight_;
  // The LU factors of each cyclic component's block of I - T, with its row order.
  std::vector<double> factors_;
  std::vector<int> pivots_;  // by node, for the cyclic components: the row taken at each step
  mutable std::vector<double> scratch_;
  mutable std::vector<int> startScratch_;
  mutable std::vector<int> queue_;    // components waiting, as a heap
  mutable std::vector<char> queued_;  // by component
};

}  // namespace ludomark
