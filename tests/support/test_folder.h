#pragma once

#include <filesystem>
#include <string>

namespace ludomark::testing {

// A folder of the running test's own, under the system's temporary folder and named by the
// process and the test, so that tests running side by side (and two builds testing at once)
// never share a file. It is made on first use; the process's folders go when it ends.
std::filesystem::path TestFolder();

// The path of an example game of the checkout.
inline std::string Example(const char* name) {
  return std::string(LUDOMARK_EXAMPLES_DIR) + "/" + name;
}

}  // namespace ludomark::testing
