#pragma once

#include <filesystem>

namespace ludomark::testing {

// A folder of the running test's own, under the system's temporary folder and named by the
// process and the test, so that tests running side by side (and two builds testing at once)
// never share a file. It is made on first use; the process's folders go when it ends.
std::filesystem::path TestFolder();

}  // namespace ludomark::testing
