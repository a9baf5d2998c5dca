#pragma once

namespace ludomark {

class TGameForm32;

// What changed in a game document, for the windows that show it.
enum class TChange {
  Structure,  // elements added, removed or read anew
  Layout,     // elements moved, a table's shown slice
  Solutions,  // solutions recorded, renamed or dropped
  Status,     // the status (an edit marks the game edited, so every edit ends here)
};

// A window or frame that shows a document: told of every change, on the thread that owns the
// document, after the change.
class TDocumentObserver {
 public:
  virtual ~TDocumentObserver() = default;
  virtual void DocumentChanged(TGameForm32& game, TChange change) = 0;
};

}  // namespace ludomark
