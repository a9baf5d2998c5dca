#include "gamefile/file_identity.h"

#include <sys/stat.h>

#include <fstream>
#include <sstream>

namespace ludomark {

namespace {
bool Stat(const std::string& path, struct stat& info) {
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::int64_t ModifiedNs(const struct stat& info) {
  return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}
}  // namespace

std::uint64_t TextHash(const std::string& text) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const unsigned char c : text) hash = (hash ^ c) * 1099511628211ULL;
  return hash;
}

std::string TFileIdentity::Text() const {
  std::ostringstream out;
  out << (Exists ? 1 : 0) << ' ' << Size << ' ' << ModifiedNs << ' ' << Hash;
  return out.str();
}

TFileIdentity TFileIdentity::FromText(const std::string& line) {
  std::istringstream in(line);
  TFileIdentity identity;
  int exists = 0;
  if (!(in >> exists >> identity.Size >> identity.ModifiedNs >> identity.Hash)) {
    // Matches no file: a missing one has size 0 and the hash of nothing.
    return TFileIdentity{true, ~std::uint64_t{0}, 0, 0};
  }
  identity.Exists = exists != 0;
  return identity;
}

TFileIdentity IdentityOfFile(const std::string& path) {
  struct stat info {};
  if (!Stat(path, info)) return {};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  TFileIdentity identity = IdentityOfText(path, text.str());
  // A file that changed while it was read is taken with the time it had before.
  identity.ModifiedNs = ModifiedNs(info);
  return identity;
}

TFileIdentity IdentityOfText(const std::string& path, const std::string& text) {
  struct stat info {};
  TFileIdentity identity;
  identity.Exists = true;
  identity.Size = text.size();
  identity.Hash = TextHash(text);
  if (Stat(path, info)) identity.ModifiedNs = ModifiedNs(info);
  return identity;
}

}  // namespace ludomark
