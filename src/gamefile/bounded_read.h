#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

namespace ludomark {

// The whole file, read in chunks. Throws TFileError naming the file when it cannot be opened
// ("Cannot open the NOUN") or read, and stops past `maxBytes` ("The NOUN is larger than N MiB")
// before a device or a huge file exhausts memory.
std::string ReadBoundedFile(const std::string& path, std::uint64_t maxBytes,
                            const std::string& noun);
// The whole stream, within `maxBytes` (TFileError naming `name` past it, or when reading fails).
std::string ReadBoundedStream(std::istream& in, std::uint64_t maxBytes, const std::string& name);
// What a game file may hold at most: the reader refuses more, so nothing writes more.
inline constexpr std::uint64_t kMaxGameBytes = std::uint64_t{64} << 20;

}  // namespace ludomark
