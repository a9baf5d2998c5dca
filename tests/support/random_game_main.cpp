// ludomark-random-game table ROWS COLUMNS SEED | tree SETS SEED: the game's text on stdout.
#include <iostream>
#include <string>

#include "support/random_games.h"

int main(int argc, char** argv) {
  using namespace ludomark::testing;
  const std::string kind = argc > 1 ? argv[1] : "";
  try {
    if (kind == "table" && argc == 5) {
      std::cout << RandomTableNfg(std::stoi(argv[2]), std::stoi(argv[3]), std::stoull(argv[4]));
      return 0;
    }
    if (kind == "tree" && argc == 4) {
      std::cout << RandomTreeEfg(std::stoi(argv[2]), std::stoull(argv[3]));
      return 0;
    }
  } catch (const std::exception&) {
  }
  std::cerr << "usage: ludomark-random-game table ROWS COLUMNS SEED | tree SETS SEED\n";
  return 2;
}
