#include "gamefile/exchange_names.h"

#include <array>
#include <cstdint>

#include "model/fixed_fields.h"

namespace ludomark {

namespace {
constexpr std::size_t kNameBytes = 16;
}  // namespace

std::string FitName(const std::string& name, std::set<std::string>& used,
                    const std::string& fallback) {
  std::string base = CutToCharacters(WithoutControls(name), kNameBytes);
  while (!base.empty() && base.back() == ' ') base.pop_back();
  if (base.empty()) base = fallback;
  if (base.empty()) return base;
  std::string fitted = base;
  for (int n = 2; used.count(fitted) != 0; ++n) {
    std::string suffix = "~";
    suffix += std::to_string(n);
    fitted = CutToCharacters(base, kNameBytes - suffix.size()) + suffix;
  }
  used.insert(fitted);
  return fitted;
}

int32_t PlayerColor(int index) {
  // 0x00BBGGRR: blue, red, green, purple, teal, maroon, navy, olive, fuchsia, black.
  static constexpr std::array<int32_t, 10> kColors = {0xFF0000, 0x0000FF, 0x008000, 0x800080,
                                                      0x808000, 0x000080, 0x800000, 0x008080,
                                                      0xFF00FF, 0x000000};
  return kColors[static_cast<std::size_t>(index) % kColors.size()];
}

std::vector<TPlayer32*> AddPlayers(const std::vector<std::string>& names, TGameType32& game) {
  std::set<std::string> used;
  std::vector<TPlayer32*> players;
  for (std::size_t i = 0; i < names.size(); ++i) {
    auto* player = NewElement<TPlayer32>(&game);
    player->SetName(FitName(names[i], used, "Player " + std::to_string(i + 1)));
    player->Color = PlayerColor(static_cast<int>(i));
    player->SetPosition(40, 40 + 45 * static_cast<int32_t>(i));
    game.AddObject(player);
    players.push_back(player);
  }
  return players;
}

}  // namespace ludomark
