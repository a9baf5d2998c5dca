#pragma once

#include <cstddef>
#include <deque>
#include <string>

namespace ludomark {

// The undo points of one game, in memory: the game's text before each edit. Undo trades the
// game's present text for the last point; Redo trades it back. A new edit forgets what could
// be redone. The user's file is never an undo point.
class TUndoHistory {
 public:
  static constexpr std::size_t kLevels = 100;

  void Push(std::string before);
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // The text to go back (or forward) to; nothing is traded until Undone (Redone) says so, so a
  // text that does not read stays where it was.
  const std::string& UndoText() const { return undo_.back(); }
  const std::string& RedoText() const { return redo_.back(); }
  void Undone(std::string present);
  void Redone(std::string present);
  void Clear();

 private:
  std::deque<std::string> undo_;
  std::deque<std::string> redo_;
};

}  // namespace ludomark
