#pragma once

#include <cstdint>
#include <string>

namespace ludomark {

// The whole file, read in chunks. Throws TFileError naming the file when it cannot be opened
// ("Cannot open the NOUN") or read, and stops past `maxBytes` ("The NOUN is larger than N MiB")
// before a device or a huge file exhausts memory.
std::string ReadBoundedFile(const std::string& path, std::uint64_t maxBytes,
                            const std::string& noun);

}  // namespace ludomark
