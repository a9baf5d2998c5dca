#pragma once

#include <string>
#include <vector>

#include "document/game_form.h"
#include "model/info.h"
#include "model/node.h"
#include "ui/dialogs/element_names.h"

namespace ludomark {

// "Information": which nodes of the anchor's owner share its information set. Works on the
// game directly; OK builds, changes or dissolves the set.
class TInfoDlg {
 public:
  // Whether there are at least two nodes to work with (candidates and events together).
  bool Setup(TNode32& anchor);

  std::vector<std::string> Candidates() const { return NamesOf(candidates_); }
  std::vector<std::string> Events() const { return NamesOf(events_); }
  void AddBtnClick(int candidateRow);
  void DeleteBtnClick(int eventRow);
  void OKBtnClick();

 private:
  TGameForm32* game_ = nullptr;
  TNode32* anchor_ = nullptr;
  std::vector<TNode32*> candidates_;
  std::vector<TNode32*> events_;
};

}  // namespace ludomark
