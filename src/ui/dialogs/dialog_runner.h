#pragma once

namespace ludomark {

class TSelectDialog;
class TPlayerDlg;
class TNodeDlg;
class TMoveDlg;
class TPayoffDlg;
class TInfoDlg;
class TNameDlg;
class TSideDlg;
class TCellDlg;
class TSolveOptionsDlg;

// Shows a dialog, already set up, modally and answers whether it closed with OK. The desktop
// shows its window; tests answer for the user by driving the dialog's logic.
class TDialogRunner {
 public:
  virtual ~TDialogRunner() = default;
  virtual bool Show(TSelectDialog& dialog) = 0;
  virtual bool Show(TPlayerDlg& dialog) = 0;
  virtual bool Show(TNodeDlg& dialog) = 0;
  virtual bool Show(TMoveDlg& dialog) = 0;
  virtual bool Show(TPayoffDlg& dialog) = 0;
  virtual bool Show(TInfoDlg& dialog) = 0;
  virtual bool Show(TNameDlg& dialog) = 0;
  virtual bool Show(TSideDlg& dialog) = 0;
  virtual bool Show(TCellDlg& dialog) = 0;
  virtual bool Show(TSolveOptionsDlg& dialog) = 0;
};

}  // namespace ludomark
