#pragma once

namespace ludomark {

class TGameForm32;

// What changed in a game document, for the windows that show it.
enum class TChange {
  Structure,  // elements added, removed or read anew
  Layout,     // elements moved, a table's shown slice
  Solutions,  // solutions recorded, renamed or dropped
  Status,     // the status (an edit marks the game edited, so every edit ends here)
  Run,        // a run started or ended on the game
};

// The kinds of change one command made, collected while it ran.
class TChanges {
 public:
  TChanges() = default;
  TChanges(TChange change) : bits_(Bit(change)) {}  // NOLINT: one kind is a set of one
  void Add(TChange change) { bits_ |= Bit(change); }
  void Add(TChanges changes) { bits_ |= changes.bits_; }
  bool Has(TChange change) const { return (bits_ & Bit(change)) != 0; }
  bool Empty() const { return bits_ == 0; }

 private:
  static unsigned Bit(TChange change) { return 1U << static_cast<unsigned>(change); }
  unsigned bits_ = 0;
};

// A window or frame that shows a document: told once per command, when the command has ended,
// of every kind of change it made; never in the middle of one.
class TDocumentObserver {
 public:
  virtual ~TDocumentObserver() = default;
  virtual void DocumentChanged(TGameForm32& game, TChanges changes) = 0;
};

}  // namespace ludomark
