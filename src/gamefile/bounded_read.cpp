#include "gamefile/bounded_read.h"

#include <array>
#include <fstream>

#include "gamefile/file_error.h"

namespace ludomark {

std::string ReadBoundedFile(const std::string& path, std::uint64_t maxBytes,
                            const std::string& noun) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TFileError(path, "Cannot open the " + noun);
  std::string text;
  std::array<char, 65536> buffer{};
  while (in.read(buffer.data(), buffer.size()) || in.gcount() > 0) {
    const auto count = static_cast<std::size_t>(in.gcount());
    if (text.size() + count > maxBytes) {
      throw TFileError(
          path, "The " + noun + " is larger than " + std::to_string(maxBytes >> 20) + " MiB");
    }
    text.append(buffer.data(), count);
  }
  if (in.bad()) throw TFileError(path, "Cannot read the " + noun);
  return text;
}

}  // namespace ludomark
