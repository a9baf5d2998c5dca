#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace ludomark {

// The games opened or saved last, newest first, kept in a file of the user's configuration
// folder so that the next session offers them too. The one setting the program keeps between
// sessions.
class TRecentFiles {
 public:
  static constexpr std::size_t kMaxFiles = 8;

  // Kept in the file at `store`; an empty store keeps the list for this session only. Without
  // an argument: recent-files in $XDG_CONFIG_HOME/ludomark (or ~/.config/ludomark).
  explicit TRecentFiles(std::string store = DefaultStore());

  const std::vector<std::string>& Paths() const { return paths_; }
  // The path (made absolute) goes to the front, once; the oldest beyond the limit drops out.
  void Add(const std::string& path);
  void Remove(const std::string& path);

  static std::string DefaultStore();

 private:
  void Load();
  // A failed write loses only the list, never the work: it is not reported.
  void Store() const;

  std::string store_;
  std::vector<std::string> paths_;
};

}  // namespace ludomark
