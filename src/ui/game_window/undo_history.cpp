#include "ui/game_window/undo_history.h"

namespace ludomark {

void TUndoHistory::Reset(std::string present) {
  present_ = std::move(present);
  undo_.clear();
  redo_.clear();
}

bool TUndoHistory::Record(std::string text) {
  if (text == present_) return false;
  undo_.push_back(std::move(present_));
  if (undo_.size() > kLevels) undo_.pop_front();
  redo_.clear();
  present_ = std::move(text);
  return true;
}

void TUndoHistory::Undone(std::string present) {
  undo_.pop_back();
  redo_.push_back(std::move(present_));
  present_ = std::move(present);
}

void TUndoHistory::Redone(std::string present) {
  redo_.pop_back();
  undo_.push_back(std::move(present_));
  present_ = std::move(present);
}

}  // namespace ludomark
