#pragma once

#include <string>

namespace ludomark {

// Replaces the file with the text, or leaves the old file as it was: the text goes to a new
// file in the same folder, which is renamed over the old one only once all of it is written.
// Throws TFileError naming the file on any failure.
void WriteFileAtomically(const std::string& path, const std::string& text);
// Appends the text to an existing file. Throws TFileError naming the file on failure.
void AppendToFile(const std::string& path, const std::string& text);

}  // namespace ludomark
