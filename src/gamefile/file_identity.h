#pragma once

#include <cstdint>
#include <string>

namespace ludomark {

// What tells one state of a file from another: its size, its modification time and a hash of
// its bytes. Two identities with the same size and hash are the same text, whatever the times.
struct TFileIdentity {
  bool Exists = false;
  std::uint64_t Size = 0;
  std::int64_t ModifiedNs = 0;
  std::uint64_t Hash = 0;

  bool SameText(const TFileIdentity& other) const {
    return Exists == other.Exists && Size == other.Size && Hash == other.Hash;
  }
  // One line of numbers, and back (an unreadable line gives an identity that exists nowhere).
  std::string Text() const;
  static TFileIdentity FromText(const std::string& line);
};

// FNV-1a over the bytes.
std::uint64_t TextHash(const std::string& text);
// The identity of the text as it stands in the file at `path` now (read to compare; a missing
// or unreadable file has Exists false).
TFileIdentity IdentityOfFile(const std::string& path);
// The identity of a file known to hold `text` (just read or written): only its time is read.
TFileIdentity IdentityOfText(const std::string& path, const std::string& text);

}  // namespace ludomark
