#include "gamefile/bounded_read.h"

#include <array>
#include <fstream>

#include "gamefile/file_error.h"

namespace ludomark {

namespace {
std::string ReadChunks(std::istream& in, std::uint64_t maxBytes, const std::string& name,
                       const std::string& tooLarge, const std::string& unreadable) {
  std::string text;
  std::array<char, 65536> buffer{};
  while (in.read(buffer.data(), buffer.size()) || in.gcount() > 0) {
    const auto count = static_cast<std::size_t>(in.gcount());
    if (text.size() + count > maxBytes) {
      throw TFileError(name,
                       tooLarge + " is larger than " + std::to_string(maxBytes >> 20) + " MiB");
    }
    text.append(buffer.data(), count);
  }
  if (in.bad()) throw TFileError(name, unreadable);
  return text;
}
}  // namespace

std::string ReadBoundedStream(std::istream& in, std::uint64_t maxBytes, const std::string& name) {
  return ReadChunks(in, maxBytes, name, "It", "Cannot read it");
}

std::string ReadBoundedFile(const std::string& path, std::uint64_t maxBytes,
                            const std::string& noun) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TFileError(path, "Cannot open the " + noun);
  return ReadChunks(in, maxBytes, path, "The " + noun, "Cannot read the " + noun);
}

}  // namespace ludomark
