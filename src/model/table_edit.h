#pragma once

#include <memory>

namespace ludomark {

class TSide32;
class TTable32;

// The Add Side, Edit Side and Delete Side commands on a table. Each answers whether the game
// changed; refusals and failures are shown through the document's messages.

// The working copy the side dialog edits: a copy of `side` (an empty side when adding), not
// filed in the document, its strategies linked both ways with the originals.
std::unique_ptr<TSide32> MakeScratchSide(TSide32* side, TTable32& table);
// Whether a side can be added at all: some player must own no side of the table yet.
bool CanAddSide(TTable32& table);
// Copies the edited scratch side into `side` (a new side when nothing) and rebuilds the cells,
// keeping every cell whose strategies survive the edit.
bool ApplySideEdit(TSide32* side, TSide32& scratch, TTable32& table);
bool DeleteSide(TTable32& table, TSide32& side);

}  // namespace ludomark
