// Node levels, the root and connectedness.
#include <algorithm>
#include <unordered_map>
#include <vector>

#include "audit/audit.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/player.h"

namespace ludomark {

namespace {

// Moves leaving each node, in Moves order, by position in Nodes.
struct Graph {
  std::vector<TNode32*> nodes;
  std::unordered_map<const TNode32*, int> index;
  std::vector<std::vector<int>> next;

  explicit Graph(TGameForm32& game) {
    game.Nodes().ForEach([&](TGameObject32* e) {
      index[As<TNode32>(e)] = static_cast<int>(nodes.size());
      nodes.push_back(As<TNode32>(e));
    });
    next.resize(nodes.size());
    game.Moves().ForEachAs<TMove32>([&](TMove32* m) {
      auto from = index.find(m->From.get());
      auto to = index.find(m->To.get());
      if (from == index.end()) return;
      next[static_cast<std::size_t>(from->second)].push_back(to == index.end() ? -1 : to->second);
    });
  }
};

// Longest cycle-free path lengths from `start`, which stands at `base`. The walk tries every
// path; a graph with astronomically many paths falls back to extending a node only when reached
// deeper than before, which gives the same levels on graphs without cycles.
void WalkLevels(Graph& g, int start, int base, std::vector<int>& level, std::vector<char>& onPath,
                long long& budget) {
  struct Frame {
    int node;
    int level;
    std::size_t edge;
  };
  std::vector<Frame> stack{{start, base, 0}};
  level[static_cast<std::size_t>(start)] = std::max(level[static_cast<std::size_t>(start)], base);
  onPath[static_cast<std::size_t>(start)] = 1;
  while (!stack.empty()) {
    Frame& top = stack.back();
    const auto& edges = g.next[static_cast<std::size_t>(top.node)];
    if (top.edge == edges.size()) {
      onPath[static_cast<std::size_t>(top.node)] = 0;
      stack.pop_back();
      continue;
    }
    const int to = edges[top.edge++];
    if (to < 0 || onPath[static_cast<std::size_t>(to)]) continue;
    const int reached = top.level + 1;
    int& known = level[static_cast<std::size_t>(to)];
    if (--budget < 0 && known >= reached) continue;
    if (known < reached) known = reached;
    onPath[static_cast<std::size_t>(to)] = 1;
    stack.push_back({to, reached, 0});
  }
}

std::vector<char> ReachedByAMove(const Graph& g) {
  std::vector<char> reached(g.nodes.size(), 0);
  for (const auto& edges : g.next) {
    for (int to : edges) {
      if (to >= 0) reached[static_cast<std::size_t>(to)] = 1;
    }
  }
  return reached;
}

// Where play starts, the root: the longest cycle-free path from every node outside an
// information set gives each node a level (the lowest shifted to 0), and the root is the first
// node at level 0. A first node with a move back to itself (waiting) stays the root, whatever
// else no move reaches.
int PlayStart(Graph& g, long long& budget) {
  if (g.nodes.empty()) return -1;
  std::vector<int> level(g.nodes.size(), 0);
  std::vector<char> onPath(g.nodes.size(), 0);
  for (std::size_t i = 0; i < g.nodes.size(); ++i) {
    // A start another walk reached already lies below it, and so does all it leads to.
    if (g.nodes[i]->Info.get() == nullptr && level[i] == 0) {
      WalkLevels(g, static_cast<int>(i), 0, level, onPath, budget);
    }
  }
  const auto lowest = std::min_element(level.begin(), level.end());
  return static_cast<int>(lowest - level.begin());
}

}  // namespace

void ComputeLevels(TGameForm32& game) {
  Graph g(game);
  // -1 until a walk reaches the node.
  std::vector<int> level(g.nodes.size(), -1);
  std::vector<char> onPath(g.nodes.size(), 0);
  long long budget = 20000000;
  for (TNode32* node : g.nodes) {
    node->Mark = false;
    node->Level = 0;
  }
  // Levels count from where play starts, and only that node stands at level 0: the beliefs
  // weigh the starts by level, so play from the root decides them wherever it reaches.
  const std::vector<char> reached = ReachedByAMove(g);
  const int start = PlayStart(g, budget);
  if (start < 0) return;
  budget = 20000000;
  WalkLevels(g, start, 0, level, onPath, budget);
  // Nodes play never reaches from there are further starts, one level down at least; their
  // walks never enter the root.
  onPath[static_cast<std::size_t>(start)] = 1;
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < g.nodes.size(); ++i) {
      // First the nodes no move reaches, then whatever is left (cycles of their own).
      if (level[i] >= 0 || (pass == 0 && reached[i])) continue;
      WalkLevels(g, static_cast<int>(i), 1, level, onPath, budget);
    }
  }
  for (std::size_t i = 0; i < g.nodes.size(); ++i) g.nodes[i]->Level = std::max(level[i], 0);
}

TNode32* FindRoot(TGameForm32& game) {
  TNode32* root = nullptr;
  game.Nodes().ForEach([&](TGameObject32* e) {
    if (root == nullptr && e->Level == 0) root = As<TNode32>(e);
  });
  game.SetRoot(root);
  return root;
}

bool CheckConnected(TGameForm32& game) {
  TNode32* root = game.Root();
  if (root == nullptr) return false;
  // Marking from the root across moves in either direction reaches the same nodes as repeated
  // passes would.
  Graph g(game);
  std::vector<std::vector<int>> linked(g.nodes.size());
  for (std::size_t a = 0; a < g.nodes.size(); ++a) {
    for (int b : g.next[a]) {
      if (b < 0) continue;
      linked[a].push_back(b);
      linked[static_cast<std::size_t>(b)].push_back(static_cast<int>(a));
    }
  }
  std::vector<char> marked(g.nodes.size(), 0);
  std::vector<int> todo{g.index[root]};
  marked[static_cast<std::size_t>(todo.back())] = 1;
  while (!todo.empty()) {
    const int n = todo.back();
    todo.pop_back();
    for (int m : linked[static_cast<std::size_t>(n)]) {
      if (!marked[static_cast<std::size_t>(m)]) {
        marked[static_cast<std::size_t>(m)] = 1;
        todo.push_back(m);
      }
    }
  }
  bool ok = true;
  for (std::size_t i = 0; i < g.nodes.size(); ++i) {
    g.nodes[i]->Mark = false;
    if (marked[i]) continue;
    ok = false;
    game.ReportFinding(g.nodes[i]->Describe(kShortText) + " is not connected");
  }
  return ok;
}

void ComputeInfoLevels(TGameForm32& game) {
  int highest = 0;
  game.Nodes().ForEach([&](TGameObject32* n) { highest = std::max(highest, n->Level); });
  game.Infos().ForEachAs<TInfo32>([&](TInfo32* info) {
    info->Level = highest;
    info->Members.ForEach([&](TGameObject32* m) { info->Level = std::min(info->Level, m->Level); });
  });
}

}  // namespace ludomark
