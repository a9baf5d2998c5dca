#pragma once

#include <string>
#include <vector>

#include "document/game_form.h"

namespace ludomark {

// A game file's fixed fields keep six digits; a game read from an exchange file holds its
// numbers at full precision (and the file's own text of each). Copies made in memory (a run's
// workers, undo points, recovery copies) must not round them, so their text carries, after the
// game file's lines, one line for each number those lines would change, which a game file
// reader skips as it skips every line it has no record for.
std::string PreciseGameText(TGameForm32& game);
// Reads such a text, as ReadGameText does, then gives back each number at full precision.
void ReadPreciseGameText(const std::string& text, TGameForm32& game);
// Whether the text is the plain shortest writing of the number ("3", "0.5"); other texts
// ("1/3", "2.50") are worth keeping, to be exported as read.
bool IsPlainNumberText(const std::string& text, double value);
// Keeps the exchange file's text of the element's number, where it is worth keeping.
void KeepExactNumber(TGameForm32& game, const TGameObject32* element, const std::string& text,
                     double value);
// The exchange file's text of the number the element holds, or the shortest text that reads
// back as the number.
std::string ExchangeNumberText(TGameForm32& game, const TGameObject32* element, double value);
// The numbers that saving as a game file changes by more than a billionth of their size, one
// line each ("The number of move High at Deal: 1/3 is kept as 0.333333 in a game file").
std::vector<std::string> RoundedNumbers(TGameForm32& game);

}  // namespace ludomark
