#include "support/random_games.h"

#include <map>
#include <string>

#include "model/random.h"

namespace ludomark::testing {

namespace {

int Payoff(TUniformRandom& random) {
  return static_cast<int>(random.Next() * 10);
}

class TreeWriter {
 public:
  TreeWriter(int sets, uint64_t seed) : sets_(sets), random_(seed) {
    // Sets are numbered level by level; each player counts his own.
    int counts[2] = {0, 0};
    for (int g = 1; g <= sets; ++g) local_[g] = ++counts[PlayerOf(Level(g)) - 1];
  }

  std::string Write() {
    text_ = "EFG 2 R \"Random tree\" { \"Ann\" \"Bob\" }\n\"\"\n";
    text_ += "c \"Deal\" 1 \"\" { \"high\" 1/2 \"low\" 1/2 } 0\n";
    Node(1, 0);
    Node(1, 1);
    return text_;
  }

 private:
  static int Level(int g) {
    int level = 0;
    while ((1 << level) <= g) ++level;
    return level;
  }
  static int PlayerOf(int level) { return level % 2 == 1 ? 1 : 2; }

  // Node `index` of its level: the card is its top bit, the moves before it the others, so the
  // nodes index and index + half differ only in the card and share a set.
  void Node(int level, int index) {
    const int half = 1 << (level - 1);
    const int g = half + index % half;
    if (g > sets_) {
      const int a = Payoff(random_);
      const int b = Payoff(random_);
      text_ += "t \"\" " + std::to_string(++outcomes_) + " \"\" { " + std::to_string(a) + ", " +
               std::to_string(b) + " }\n";
      return;
    }
    const int player = PlayerOf(level);
    text_ += "p \"\" " + std::to_string(player) + " " + std::to_string(local_[g]) +
             " \"\" { \"a\" \"b\" } 0\n";
    Node(level + 1, 2 * index);
    Node(level + 1, 2 * index + 1);
  }

  int sets_;
  TUniformRandom random_;
  std::map<int, int> local_;
  std::string text_;
  int outcomes_ = 0;
};

}  // namespace

std::string RandomTableNfg(int rows, int columns, uint64_t seed) {
  TUniformRandom random(seed);
  std::string text = "NFG 1 R \"Random table\" { \"Ann\" \"Bob\" } { " + std::to_string(rows) +
                     " " + std::to_string(columns) + " }\n\"\"\n";
  for (int c = 0; c < columns; ++c) {
    for (int r = 0; r < rows; ++r) {
      const int a = Payoff(random);
      const int b = Payoff(random);
      text += std::to_string(a) + " " + std::to_string(b) + "\n";
    }
  }
  return text;
}

std::string RandomTreeEfg(int sets, uint64_t seed) {
  return TreeWriter(sets, seed).Write();
}

}  // namespace ludomark::testing
