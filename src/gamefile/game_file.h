#pragma once

#include <functional>
#include <memory>
#include <string>

#include "document/game_form.h"

namespace ludomark {

// True when the file can be opened for reading.
bool GameFileExists(const std::string& path);
// Reads a game into a new, empty document: every record that parses becomes an element, the
// rest is skipped; then the document relinks and takes the file name. Lines may end in LF,
// CR LF or CR. False, with nothing changed, when the file cannot be opened. Throws TFileError
// when reading fails midway, and for what is not a game file: a line over 1 MiB, a file over
// 64 MiB, an empty file or bytes without any game record, or a value that cannot be read (nan,
// inf, 1e999).
bool ReadGameFile(const std::string& path, TGameForm32& game);
// Reads game records from text, as ReadGameFile does from a file (no file name is set); an
// empty text is an empty game.
void ReadGameText(const std::string& text, TGameForm32& game);
// A maker of copies of the game as it is now, each a new document read from its text: workers
// each get their own, and nothing is read from the file again (a pipe gives its bytes once).
std::function<std::unique_ptr<TGameForm32>()> CopiesOf(TGameForm32& game);
// The lines a game file holds for the document: one per element of Players, Nodes, Moves,
// Infos, Strategies and Payoffs in list order, temporary elements skipped, each ended by CR LF.
std::string GameFileText(TGameForm32& game);
// Saves the game, and its solutions after it when asked, in one replacement of the file: the
// previous file survives any failure (TFileError names the file).
void WriteGameFile(const std::string& path, TGameForm32& game, bool withSolutions = false);
// The lines of the solutions: each solution's line followed by the lines of its values.
std::string SolutionsFileText(TGameForm32& game);
// Adds the solutions to the file that holds the game, by writing game and solutions again in
// one replacement; nothing happens when the file does not exist.
void AppendSolutionsToFile(const std::string& path, TGameForm32& game);

}  // namespace ludomark
