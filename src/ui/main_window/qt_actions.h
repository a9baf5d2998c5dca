#pragma once

#include <QIcon>
#include <QKeySequence>

#include "ui/main_window/main_host.h"

namespace ludomark {

// The look of an action: caption, shortcut, the hint the status bar shows, a check mark.
struct TActionLook {
  TAction Action;
  const char* Caption;
  QKeySequence Shortcut;
  const char* Hint;
  bool Checkable = false;
};

const TActionLook& LookOf(TAction action);
// The tool bar's pictures, drawn rather than shipped as files.
QIcon ToolIcon(TAction action);

}  // namespace ludomark
