#pragma once

#include <cstddef>
#include <deque>
#include <string>

namespace ludomark {

// The undo points of one game, in memory: the game's text as each command left it. A command
// that changed the text records a point; one that changed nothing (a cancelled dialog) leaves
// no trace and keeps what can be redone. Undo trades the present text for the last point,
// Redo trades it back. The user's file is never an undo point.
class TUndoHistory {
 public:
  static constexpr std::size_t kLevels = 100;

  // The game as it was opened: nothing to undo or redo.
  void Reset(std::string present);
  // After a command: true, and a new point, when the text differs from the present one; what
  // could be redone is forgotten then.
  bool Record(std::string text);
  // The present text changes without a new point (an element dropped where it was placed).
  void Amend(std::string text) { present_ = std::move(text); }
  bool CanUndo() const { return !undo_.empty(); }
  std::size_t UndoPoints() const { return undo_.size(); }
  bool CanRedo() const { return !redo_.empty(); }
  // The text to go back (or forward) to; nothing is traded until Undone (Redone) says so, so a
  // text that does not read stays where it was.
  const std::string& UndoText() const { return undo_.back(); }
  const std::string& RedoText() const { return redo_.back(); }
  // `present`: the game's text once it has taken the point.
  void Undone(std::string present);
  void Redone(std::string present);
  const std::string& Present() const { return present_; }

 private:
  std::string present_;
  std::deque<std::string> undo_;
  std::deque<std::string> redo_;
};

}  // namespace ludomark
