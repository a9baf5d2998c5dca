// Writes the example games into the folder given on the command line.
#include <iostream>

#include "gamefile/file_error.h"
#include "gamefile/game_file.h"
#include "support/example_games.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: ludomark-make-examples FOLDER\n";
    return 2;
  }
  try {
    for (const auto& example : ludomark::testing::ExampleGames()) {
      ludomark::TGameType32 game;
      example.Build(game);
      ludomark::WriteGameFile(std::string(argv[1]) + "/" + example.FileName, game);
      std::cout << example.FileName << "\n";
    }
  } catch (const ludomark::TFileError& e) {
    std::cerr << e.what() << "\n";
    return 2;
  }
  return 0;
}
