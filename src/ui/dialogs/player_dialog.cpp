#include "ui/dialogs/player_dialog.h"

#include <algorithm>

#include "model/colors.h"

namespace ludomark {

void TPlayerDlg::Setup(TPlayer32* player, TGameForm32& game) {
  game_ = &game;
  working_.reset(NewElement<TPlayer32>(&game));
  if (player != nullptr) {
    player->CopyTo(*working_);
    color_ = player->Color;
    colorDefined_ = true;
    const auto* at = std::find(kPlayerColors.begin(), kPlayerColors.end(), color_);
    if (at != kPlayerColors.end()) gridIndex_ = static_cast<int>(at - kPlayerColors.begin());
  } else {
    colorDefined_ = false;
  }
}

void TPlayerDlg::NameChange(const std::string& text) {
  working_->SetName(TrimRight(text));
}

void TPlayerDlg::ColorClick(int index) {
  if (index < 0 || index >= static_cast<int>(kPlayerColors.size())) return;
  gridIndex_ = index;
  color_ = kPlayerColors[static_cast<std::size_t>(index)];
  colorDefined_ = true;
}

bool TPlayerDlg::OKBtnClick() {
  TMessageSink& messages = game_->Messages();
  if (working_->Name.empty()) {
    messages.Warning("Invalid name");
    return false;
  }
  if (colorDefined_ && color_ == kGrey) {
    messages.Warning("Gray reserved for Chance");
    return false;
  }
  if (colorDefined_ && color_ == Rgb(255, 255, 255)) {
    messages.Warning("White reserved for background");
    return false;
  }
  if (!colorDefined_) {
    messages.Warning("Color undefined");
    return false;
  }
  working_->Color = color_;
  return true;
}

}  // namespace ludomark
