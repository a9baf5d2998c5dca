#pragma once

#include <functional>

#include "ui/dialogs/dialogs.h"

namespace ludomark::testing {

// Shows no window: each dialog is handed to the script standing in for the user, whose answer
// is OK (true) or Cancel (false). A dialog without a script is cancelled.
class ScriptedRunner : public TDialogRunner {
 public:
  template <class D>
  using Script = std::function<bool(D&)>;

  Script<TSelectDialog> OnSelect;
  Script<TPlayerDlg> OnPlayer;
  Script<TNodeDlg> OnNode;
  Script<TMoveDlg> OnMove;
  Script<TPayoffDlg> OnPayoff;
  Script<TInfoDlg> OnInfo;
  Script<TNameDlg> OnName;
  Script<TSideDlg> OnSide;
  Script<TCellDlg> OnCell;
  Script<TSolveOptionsDlg> OnSolveOptions;
  int Shown = 0;

  bool Show(TSelectDialog& d) override { return Run(OnSelect, d); }
  bool Show(TPlayerDlg& d) override { return Run(OnPlayer, d); }
  bool Show(TNodeDlg& d) override { return Run(OnNode, d); }
  bool Show(TMoveDlg& d) override { return Run(OnMove, d); }
  bool Show(TPayoffDlg& d) override { return Run(OnPayoff, d); }
  bool Show(TInfoDlg& d) override { return Run(OnInfo, d); }
  bool Show(TNameDlg& d) override { return Run(OnName, d); }
  bool Show(TSideDlg& d) override { return Run(OnSide, d); }
  bool Show(TCellDlg& d) override { return Run(OnCell, d); }
  bool Show(TSolveOptionsDlg& d) override { return Run(OnSolveOptions, d); }

 private:
  template <class D>
  bool Run(const Script<D>& script, D& dialog) {
    ++Shown;
    return script ? script(dialog) : false;
  }
};

}  // namespace ludomark::testing
