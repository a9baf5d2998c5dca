// Feeds arbitrary bytes to the .efg or .nfg reader (chosen when built); what it accepts must
// write back out, and read and write again to the same text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "gamefile/efg_reader.h"
#include "gamefile/exchange_writer.h"
#include "gamefile/file_error.h"
#include "gamefile/listing.h"
#include "gamefile/nfg_reader.h"

namespace {
void Read(const std::string& text, ludomark::TGameType32& game) {
#ifdef LUDOMARK_FUZZ_NFG
  ludomark::ReadNfgText(text, "fuzz.nfg", game);
#else
  ludomark::ReadEfgText(text, "fuzz.efg", game);
#endif
}

std::string Write(ludomark::TGameType32& game) {
#ifdef LUDOMARK_FUZZ_NFG
  return ludomark::WriteNfgText(game, "fuzz.nfg");
#else
  return ludomark::WriteEfgText(game, "fuzz.efg");
#endif
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 20000) return 0;  // large trees are the benchmark's business
  const std::string text(reinterpret_cast<const char*>(data), size);
  ludomark::TGameType32 game;
  try {
    Read(text, game);
  } catch (const ludomark::TFileError&) {
    return 0;
  }
  ludomark::BuildListing(game, ludomark::kSolvableListMode);
  const std::string written = Write(game);  // an imported game always writes back
  ludomark::TGameType32 again;
  Read(written, again);
  if (Write(again) != written) __builtin_trap();
  return 0;
}
