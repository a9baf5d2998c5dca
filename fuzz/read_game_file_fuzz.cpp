// Feeds arbitrary bytes to the game file reader, then lists, writes and rereads what it made.
#include <cstddef>
#include <cstdint>
#include <string>

#include "gamefile/file_error.h"
#include "gamefile/game_file.h"
#include "gamefile/listing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ludomark::TGameType32 game;
  try {
    ludomark::ReadGameText(text, game);
  } catch (const ludomark::TFileError&) {
    return 0;  // refused as a whole: not a game file
  }
  ludomark::BuildListing(game, ludomark::kSolvableListMode);
  // A black first player reads back blue, so only the second reading has to be stable.
  ludomark::TGameType32 again;
  ludomark::ReadGameText(ludomark::GameFileText(game), again);
  const std::string written = ludomark::GameFileText(again);
  ludomark::TGameType32 third;
  ludomark::ReadGameText(written, third);
  if (ludomark::GameFileText(third) != written) __builtin_trap();
  return 0;
}
