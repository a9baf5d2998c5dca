#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "document/game_form.h"
#include "model/player.h"

namespace ludomark {

constexpr int32_t Rgb(int32_t red, int32_t green, int32_t blue) {
  return red | (green << 8) | (blue << 16);
}

// The player dialog's colour grid, four to a row.
inline constexpr std::array<int32_t, 16> kPlayerColors = {
    Rgb(0, 0, 0),       Rgb(128, 0, 0),   Rgb(0, 128, 0),   Rgb(128, 128, 0),
    Rgb(0, 0, 128),     Rgb(128, 0, 128), Rgb(0, 128, 128), Rgb(192, 192, 192),
    Rgb(128, 128, 128), Rgb(255, 0, 0),   Rgb(0, 255, 0),   Rgb(255, 255, 0),
    Rgb(0, 0, 255),     Rgb(255, 0, 255), Rgb(0, 255, 255), Rgb(255, 255, 255)};

// "Player": a name and a colour, on a working copy.
class TPlayerDlg {
 public:
  // A copy of the player, or a new player of the game when there is none.
  void Setup(TPlayer32* player, TGameForm32& game);
  TPlayer32& Working() { return *working_; }
  // Drops the working copy once the caller has taken what it needs.
  void Release() { working_.reset(); }

  void NameChange(const std::string& text);
  void ColorClick(int index);
  // The swatch the grid highlights: the last one clicked, kept between uses; -1 before any.
  int GridIndex() const { return gridIndex_; }
  bool OKBtnClick();

 private:
  TGameForm32* game_ = nullptr;
  std::unique_ptr<TPlayer32> working_;
  bool colorDefined_ = false;
  int32_t color_ = 0;
  int gridIndex_ = -1;
};

}  // namespace ludomark
