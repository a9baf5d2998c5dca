#include "model/reach_system.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace ludomark {

namespace {

constexpr double kPivotLimit = 1e-150;
constexpr std::size_t kIgnored = std::numeric_limits<std::size_t>::max();

// Lists by a key: the positions of the items with key k are list[start[k]] to list[start[k+1]].
void Bucket(int keys, const std::vector<int>& keyOf, std::vector<int>& start,
            std::vector<std::size_t>& slotOf) {
  start.assign(static_cast<std::size_t>(keys) + 1, 0);
  for (const int k : keyOf) {
    if (k >= 0) ++start[static_cast<std::size_t>(k) + 1];
  }
  for (std::size_t k = 1; k < start.size(); ++k) start[k] += start[k - 1];
  std::vector<int> next(start.begin(), start.end() - 1);
  slotOf.assign(keyOf.size(), kIgnored);
  for (std::size_t e = 0; e < keyOf.size(); ++e) {
    if (keyOf[e] < 0) continue;
    slotOf[e] = static_cast<std::size_t>(next[static_cast<std::size_t>(keyOf[e])]++);
  }
}

}  // namespace

void TReachSystem::FindComponents(int nodes, const std::vector<int>& start,
                                  const std::vector<int>& to, std::vector<int>& componentOf,
                                  std::vector<int>& members, std::vector<int>& firsts) {
  // Tarjan's algorithm without recursion: a chain of a million nodes is no deeper than one.
  const auto n = static_cast<std::size_t>(nodes);
  std::vector<int> order(n, -1);
  std::vector<int> low(n, 0);
  std::vector<char> onStack(n, 0);
  std::vector<int> stack;
  std::vector<std::pair<int, int>> calls;  // node, next edge to look at
  componentOf.assign(n, -1);
  members.clear();
  firsts.clear();
  int counter = 0;
  for (int root = 0; root < nodes; ++root) {
    if (order[static_cast<std::size_t>(root)] >= 0) continue;
    calls.emplace_back(root, start[static_cast<std::size_t>(root)]);
    order[static_cast<std::size_t>(root)] = low[static_cast<std::size_t>(root)] = counter++;
    stack.push_back(root);
    onStack[static_cast<std::size_t>(root)] = 1;
    while (!calls.empty()) {
      auto& [v, edge] = calls.back();
      const auto at = static_cast<std::size_t>(v);
      if (edge < start[at + 1]) {
        const int w = to[static_cast<std::size_t>(edge++)];
        const auto wt = static_cast<std::size_t>(w);
        if (order[wt] < 0) {
          order[wt] = low[wt] = counter++;
          stack.push_back(w);
          onStack[wt] = 1;
          calls.emplace_back(w, start[wt]);
        } else if (onStack[wt] != 0) {
          low[at] = std::min(low[at], order[wt]);
        }
        continue;
      }
      if (low[at] == order[at]) {
        firsts.push_back(static_cast<int>(members.size()));
        const int component = static_cast<int>(firsts.size()) - 1;
        int w = -1;
        do {
          w = stack.back();
          stack.pop_back();
          onStack[static_cast<std::size_t>(w)] = 0;
          componentOf[static_cast<std::size_t>(w)] = component;
          members.push_back(w);
        } while (w != v);
      }
      const int done = v;
      calls.pop_back();
      if (!calls.empty()) {
        const auto parent = static_cast<std::size_t>(calls.back().first);
        low[parent] = std::min(low[parent], low[static_cast<std::size_t>(done)]);
      }
    }
  }
  firsts.push_back(static_cast<int>(members.size()));
}

void TReachSystem::LinkEdges(int nodes, const std::vector<Edge>& edges) {
  std::vector<int> fromKey(edges.size(), -1);
  for (std::size_t e = 0; e < edges.size(); ++e) {
    const Edge& edge = edges[e];
    if (edge.From < 1 || edge.From > nodes || edge.To < 1 || edge.To > nodes) continue;
    fromKey[e] = edge.From - 1;
  }
  Bucket(nodes, fromKey, outStart_, outSlot_);
  outTo_.assign(static_cast<std::size_t>(outStart_.back()), 0);
  for (std::size_t e = 0; e < edges.size(); ++e) {
    if (outSlot_[e] != kIgnored) outTo_[outSlot_[e]] = edges[e].To - 1;
  }
}

void TReachSystem::Build(int nodes, const std::vector<Edge>& edges) {
  nodes_ = nodes;
  LinkEdges(nodes, edges);
  const std::size_t used = outTo_.size();
  outWeight_.assign(used, 0.0);

  std::vector<int> firsts;
  FindComponents(nodes, outStart_, outTo_, componentOf_, members_, firsts);
  components_.clear();
  placeOf_.assign(static_cast<std::size_t>(nodes), 0);
  std::size_t dense = 0;
  for (std::size_t c = 0; c + 1 < firsts.size(); ++c) {
    Component component;
    component.First = firsts[c];
    component.Size = firsts[c + 1] - firsts[c];
    for (int i = 0; i < component.Size; ++i) {
      const auto at = static_cast<std::size_t>(component.First) + static_cast<std::size_t>(i);
      placeOf_[static_cast<std::size_t>(members_[at])] = i;
    }
    component.Cyclic = component.Size > 1;
    if (component.Size == 1) {
      const int v = members_[static_cast<std::size_t>(component.First)];
      for (int e = outStart_[static_cast<std::size_t>(v)];
           e < outStart_[static_cast<std::size_t>(v) + 1]; ++e) {
        component.Cyclic = component.Cyclic || outTo_[static_cast<std::size_t>(e)] == v;
      }
    }
    if (component.Cyclic) {
      component.Dense = dense;
      dense += static_cast<std::size_t>(component.Size) * static_cast<std::size_t>(component.Size);
    }
    components_.push_back(component);
  }
  factors_.assign(dense, 0.0);
  pivots_.assign(static_cast<std::size_t>(nodes), 0);
  scratch_.assign(static_cast<std::size_t>(nodes), 0.0);
  queued_.assign(components_.size(), 0);
}

std::uint64_t TReachSystem::Bytes(int nodes, const std::vector<Edge>& edges) {
  TReachSystem shape;
  shape.LinkEdges(nodes, edges);
  std::vector<int> componentOf;
  std::vector<int> members;
  std::vector<int> firsts;
  FindComponents(nodes, shape.outStart_, shape.outTo_, componentOf, members, firsts);
  std::uint64_t squares = 0;
  for (std::size_t c = 0; c + 1 < firsts.size(); ++c) {
    const auto size = static_cast<std::uint64_t>(firsts[c + 1] - firsts[c]);
    if (size > 1) squares += size * size;
  }
  const auto n = static_cast<std::uint64_t>(nodes);
  const auto e = static_cast<std::uint64_t>(edges.size());
  return sizeof(double) * (squares + e + n) + sizeof(int) * (e + 5 * n) + sizeof(std::size_t) * e;
}

bool TReachSystem::Factor(const std::vector<double>& weights, const std::atomic<bool>* stop) {
  for (std::size_t e = 0; e < outSlot_.size() && e < weights.size(); ++e) {
    if (outSlot_[e] == kIgnored) continue;
    if (!std::isfinite(weights[e])) return false;
    outWeight_[outSlot_[e]] = weights[e];
  }
  for (const Component& c : components_) {
    if (!c.Cyclic) continue;
    if (stop != nullptr && stop->load(std::memory_order_relaxed)) return false;
    const auto m = static_cast<std::size_t>(c.Size);
    double* a = factors_.data() + c.Dense;
    std::fill(a, a + m * m, 0.0);
    for (std::size_t i = 0; i < m; ++i) {
      a[i * m + i] = 1.0;
      const auto v = static_cast<std::size_t>(members_[static_cast<std::size_t>(c.First) + i]);
      for (int e = outStart_[v]; e < outStart_[v + 1]; ++e) {
        const auto u = static_cast<std::size_t>(outTo_[static_cast<std::size_t>(e)]);
        if (componentOf_[u] != componentOf_[v]) continue;
        a[i * m + static_cast<std::size_t>(placeOf_[u])] -= outWeight_[static_cast<std::size_t>(e)];
      }
    }
    // Gaussian elimination with partial pivoting, the multipliers kept below the diagonal.
    int* pivots = pivots_.data() + c.First;
    for (std::size_t k = 0; k < m; ++k) {
      std::size_t best = k;
      for (std::size_t i = k + 1; i < m; ++i) {
        if (std::fabs(a[i * m + k]) > std::fabs(a[best * m + k])) best = i;
      }
      if (!(std::fabs(a[best * m + k]) >= kPivotLimit)) return false;
      pivots[k] = static_cast<int>(best);
      if (best != k) {
        for (std::size_t j = 0; j < m; ++j) std::swap(a[k * m + j], a[best * m + j]);
      }
      const double pivot = a[k * m + k];
      for (std::size_t i = k + 1; i < m; ++i) {
        double& factor = a[i * m + k];
        if (factor == 0) continue;
        factor /= pivot;
        for (std::size_t j = k + 1; j < m; ++j) a[i * m + j] -= factor * a[k * m + j];
      }
    }
    for (std::size_t i = 0; i < m * m; ++i) {
      if (!std::isfinite(a[i])) return false;
    }
  }
  return true;
}

void TReachSystem::SolveColumn(std::vector<double>& x) const {
  // Sinks first: what a node's moves lead to is known before the node.
  for (const Component& c : components_) {
    const auto m = static_cast<std::size_t>(c.Size);
    const int* member = members_.data() + c.First;
    double* b = scratch_.data();
    for (std::size_t i = 0; i < m; ++i) {
      const auto v = static_cast<std::size_t>(member[i]);
      double sum = x[v];
      for (int e = outStart_[v]; e < outStart_[v + 1]; ++e) {
        const auto u = static_cast<std::size_t>(outTo_[static_cast<std::size_t>(e)]);
        if (componentOf_[u] != componentOf_[v])
          sum += outWeight_[static_cast<std::size_t>(e)] * x[u];
      }
      b[i] = sum;
    }
    if (c.Cyclic) {
      const double* a = factors_.data() + c.Dense;
      const int* pivots = pivots_.data() + c.First;
      for (std::size_t k = 0; k < m; ++k) std::swap(b[k], b[static_cast<std::size_t>(pivots[k])]);
      for (std::size_t i = 1; i < m; ++i) {
        for (std::size_t k = 0; k < i; ++k) b[i] -= a[i * m + k] * b[k];
      }
      for (std::size_t i = m; i-- > 0;) {
        for (std::size_t j = i + 1; j < m; ++j) b[i] -= a[i * m + j] * b[j];
        b[i] /= a[i * m + i];
      }
    }
    for (std::size_t i = 0; i < m; ++i) x[static_cast<std::size_t>(member[i])] = b[i];
  }
}

void TReachSystem::SolveRow(std::vector<double>& r) const {
  std::vector<int>& starts = startScratch_;
  starts.clear();
  for (std::size_t v = 0; v < r.size(); ++v) {
    if (r[v] != 0) starts.push_back(static_cast<int>(v));
  }
  SolveRowFrom(r, starts);
}

void TReachSystem::SolveRowFrom(std::vector<double>& r, const std::vector<int>& starts) const {
  // Sources first, each component passing its reach on along the moves that leave it; only
  // the components play reaches from the starts are visited, the next one always the first in
  // the order of play (the highest number: components are numbered sinks first).
  std::vector<int>& queue = queue_;
  queue.clear();
  auto enqueue = [&](int component) {
    char& queued = queued_[static_cast<std::size_t>(component)];
    if (queued != 0) return;
    queued = 1;
    queue.push_back(component);
    std::push_heap(queue.begin(), queue.end());
  };
  for (const int v : starts) enqueue(componentOf_[static_cast<std::size_t>(v)]);
  while (!queue.empty()) {
    std::pop_heap(queue.begin(), queue.end());
    const int index = queue.back();
    queue.pop_back();
    queued_[static_cast<std::size_t>(index)] = 0;
    const Component& c = components_[static_cast<std::size_t>(index)];
    const auto m = static_cast<std::size_t>(c.Size);
    const int* member = members_.data() + c.First;
    if (c.Cyclic) {
      // y A = s with P A = L U: w U = s, then z L = w, then y = z P.
      double* y = scratch_.data();
      for (std::size_t i = 0; i < m; ++i) y[i] = r[static_cast<std::size_t>(member[i])];
      const double* a = factors_.data() + c.Dense;
      const int* pivots = pivots_.data() + c.First;
      for (std::size_t j = 0; j < m; ++j) {
        for (std::size_t i = 0; i < j; ++i) y[j] -= y[i] * a[i * m + j];
        y[j] /= a[j * m + j];
      }
      for (std::size_t i = m; i-- > 0;) {
        for (std::size_t k = i + 1; k < m; ++k) y[i] -= y[k] * a[k * m + i];
      }
      for (std::size_t k = m; k-- > 0;) std::swap(y[k], y[static_cast<std::size_t>(pivots[k])]);
      for (std::size_t i = 0; i < m; ++i) r[static_cast<std::size_t>(member[i])] = y[i];
    }
    for (std::size_t i = 0; i < m; ++i) {
      const auto v = static_cast<std::size_t>(member[i]);
      const double reach = r[v];
      if (reach == 0) continue;
      for (int e = outStart_[v]; e < outStart_[v + 1]; ++e) {
        const auto u = static_cast<std::size_t>(outTo_[static_cast<std::size_t>(e)]);
        if (componentOf_[u] == index) continue;
        r[u] += reach * outWeight_[static_cast<std::size_t>(e)];
        enqueue(componentOf_[u]);
      }
    }
  }
}

}  // namespace ludomark
