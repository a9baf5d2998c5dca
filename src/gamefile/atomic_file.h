#pragma once

#include <string>

namespace ludomark {

// Replaces the file with the text, or leaves the old file as it was. Saves of files in one
// folder take turns (an advisory lock on the folder); the text goes to a new file beside the
// old one, created with the old file's mode (and, for root, its owner), written, flushed to
// disk and closed, and only then renamed over it. A read-only file is refused before anything
// changes. Throws TFileError naming the file on any failure; no stray file is left behind, and
// what a save killed before its end left beside the file goes with the next save.
void WriteFileAtomically(const std::string& path, const std::string& text);

// Why a save of the path would be refused before it writes anything (a link that does not
// resolve, a folder, what is not a plain file, a read-only file), "" when nothing stands in the
// way: a command checks before its work, not after.
std::string WhyNotReplaceable(const std::string& path);

// The stages of a save, in order; tests make a stage fail to see that the old file survives,
// or record them to see that each is made. A failed flush of the folder fails no save: the
// file is in place by then.
enum class SaveStage { Create, Write, Sync, Close, Rename, SyncFolder };
using SaveFault = bool (*)(SaveStage stage);
// Installs a fault (null removes it): the save fails at every stage it answers true for.
void SetSaveFault(SaveFault fault);

}  // namespace ludomark
