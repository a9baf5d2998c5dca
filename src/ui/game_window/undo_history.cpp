#include "ui/game_window/undo_history.h"

namespace ludomark {

void TUndoHistory::Push(std::string before) {
  undo_.push_back(std::move(before));
  if (undo_.size() > kLevels) undo_.pop_front();
  redo_.clear();
}

void TUndoHistory::Undone(std::string present) {
  undo_.pop_back();
  redo_.push_back(std::move(present));
}

void TUndoHistory::Redone(std::string present) {
  redo_.pop_back();
  undo_.push_back(std::move(present));
}

void TUndoHistory::Clear() {
  undo_.clear();
  redo_.clear();
}

}  // namespace ludomark
