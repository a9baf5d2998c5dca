#pragma once

namespace ludomark {

// The status of a game document, which drives saving prompts and locks editing once solved.
enum StatusCode : int {
  StatusNew = 100,          // never saved
  StatusSolved = 101,       // solutions not saved
  StatusEdited = 102,       // changed since last saved
  StatusSaved = 103,        // matches its file, no solutions
  StatusSolvedSaved = 104,  // game and solutions match the file
  StatusSolving = 105,      // a solve run is in progress
};

}  // namespace ludomark
