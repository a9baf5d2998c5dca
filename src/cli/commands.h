#pragma once

#include <iosfwd>
#include <string>

namespace ludomark::cli {

// Prints the listing of every element of the game in the file.
int ListCommand(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace ludomark::cli
