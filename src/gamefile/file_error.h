#pragma once

#include <stdexcept>
#include <string>

namespace ludomark {

// An input or output failure on a game file; the message names the file.
class TFileError : public std::runtime_error {
 public:
  TFileError(const std::string& path, const std::string& what)
      : std::runtime_error(what + ": " + path), Path(path) {}
  std::string Path;
};

}  // namespace ludomark
