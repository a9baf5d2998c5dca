#pragma once

#include <memory>
#include <string>
#include <vector>

#include "document/game_form.h"
#include "model/node.h"

namespace ludomark {

// "Node": a name and an owner (a player, or chance), on a working copy.
class TNodeDlg {
 public:
  void Setup(TNode32* node, TGameForm32& game);
  TNode32& Working() { return *working_; }
  void Release() { working_.reset(); }

  // The "Owner" list: the game's players by name; the selected row, -1 for none.
  const std::vector<std::string>& Owners() const { return owners_; }
  int OwnerRow() const { return ownerRow_; }
  bool ChanceChecked() const { return chance_; }

  void NameChange(const std::string& text);
  void OwnerClick(int row);
  void ChanceClick();
  bool OKBtnClick();

 private:
  bool RefuseInInfoSet();

  TGameForm32* game_ = nullptr;
  std::unique_ptr<TNode32> working_;
  std::vector<TPlayer32*> players_;
  std::vector<std::string> owners_;
  int ownerRow_ = -1;
  bool chance_ = false;
};

}  // namespace ludomark
