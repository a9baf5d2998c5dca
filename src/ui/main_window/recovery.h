#pragma once

#include <string>

namespace ludomark {

// Copies of edited games kept in the user's cache folder, one per game file, so that edits not
// saved when the program ended abruptly can be offered when that game is next opened. They are
// never the user's file: a copy goes when its game is saved or closed.
class TRecovery {
 public:
  // `folder` empty: $XDG_CACHE_HOME/ludomark/recovery, else ~/.cache/ludomark/recovery (none
  // without a home).
  explicit TRecovery(std::string folder = "");
  const std::string& Folder() const { return folder_; }
  // The copy that stands for the game file.
  std::string PathFor(const std::string& gameFile) const;
  // Writes the copy; a failure only means there is no copy.
  void Keep(const std::string& gameFile, const std::string& text) const;
  // The copy's text, empty when there is none.
  std::string Read(const std::string& gameFile) const;
  void Drop(const std::string& gameFile) const;

 private:
  std::string folder_;
};

}  // namespace ludomark
