#pragma once

#include <memory>
#include <string>
#include <vector>

#include "document/game_form.h"
#include "model/cell.h"
#include "model/move.h"
#include "model/payoff.h"
#include "model/table.h"

namespace ludomark {

// "Payoff": one payoff per player of a move or a cell, on a working copy of it. Payoffs are
// created as the edit takes the focus and deleted at once; the caller copies the working
// copy back on OK (for a cell, as a move: `Working().TMove32::CopyTo(cell)`).
class TPayoffDlg {
 public:
  void Setup(TMove32& element);
  TMove32& Working() { return *working_; }
  // Frees the working copy and the payoffs it holds.
  void Release();

  const std::vector<std::string>& Players() const { return names_; }
  int PlayerRow() const { return playerRow_; }
  const std::string& PayoffText() const { return text_; }
  TPayoff32* Current() const { return current_.get(); }

  void PlayerClick(int row);
  void PayoffEnter();
  // Answers the text the edit shows afterwards ("Undefined" after a refused magnitude).
  void PayoffChange(const std::string& text);
  void DeleteBtnClick();

 private:
  TGameForm32* game_ = nullptr;
  std::unique_ptr<TMove32> working_;
  std::vector<TPlayer32*> players_;
  std::vector<std::string> names_;
  int playerRow_ = -1;
  Ref<TPayoff32> current_;
  std::string text_;
};

// Whether a typed payoff has an acceptable magnitude: 0, or from 0.00001 to 100000.
bool IsValidPayoffMagnitude(double value);

}  // namespace ludomark
