#include "gamefile/precise_numbers.h"

#include <charconv>
#include <cmath>
#include <sstream>

#include "gamefile/exchange_tokens.h"
#include "gamefile/game_file.h"
#include "model/fixed_fields.h"
#include "model/move.h"
#include "model/node.h"
#include "model/payoff.h"
#include "model/player.h"
#include "model/type_codes.h"

namespace ludomark {

namespace {
// Columns 41 to 48 hold a word where records hold their type code: no reader files the line.
constexpr const char* kMarker = "precise ";
constexpr int kMarkerColumn = 41;
constexpr double kNoticeable = 1e-9;

std::string Shortest(double value) {
  char buffer[32];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, r.ptr);
}

// The elements whose numbers a game file holds, by kind: plain moves, cells, payoffs. Each
// keeps its order through a save and a reading (cells among cells).
struct TNumbered {
  std::vector<TGameObject32*> Moves, Cells, Payoffs;
};
TNumbered Numbered(TGameForm32& game) {
  TNumbered n;
  game.Moves().ForEach([&](TGameObject32* e) {
    if (!TGameForm32::IsSaved(e)) return;
    if (e->TypeCode == kMove) n.Moves.push_back(e);
    if (e->TypeCode == kCell) n.Cells.push_back(e);
  });
  game.Payoffs().ForEach([&](TGameObject32* e) {
    if (TGameForm32::IsSaved(e)) n.Payoffs.push_back(e);
  });
  return n;
}

double& ValueOf(TGameObject32* e) {
  return e->TypeCode == kPayoff ? As<TPayoff32>(e)->Value : As<TMove32>(e)->Value;
}

// The number as a game file keeps it: a move's field is 8 characters, a payoff's 16.
double Stored(const TGameObject32* e, double value) {
  return ParseFloatField(RealField(value, e->TypeCode == kPayoff ? 16 : 8));
}

bool Noticeable(double value, double stored) {
  return std::fabs(stored - value) > kNoticeable * std::max(std::fabs(value), 1e-300);
}

// The exact text, when the element has one that is still its number.
const std::string* ExactOf(TGameForm32& game, const TGameObject32* e, double value) {
  const auto it = game.ExactNumbers.find(e);
  if (it == game.ExactNumbers.end()) return nullptr;
  double read = 0;
  return ParseExchangeNumber(it->second, read) && read == value ? &it->second : nullptr;
}
}  // namespace

std::string PreciseGameText(TGameForm32& game) {
  std::string text = GameFileText(game);
  const TNumbered numbered = Numbered(game);
  const auto annex = [&](char kind, const std::vector<TGameObject32*>& elements) {
    for (std::size_t i = 0; i < elements.size(); ++i) {
      TGameObject32* e = elements[i];
      const double value = ValueOf(e);
      const std::string* exact = ExactOf(game, e, value);
      if (exact == nullptr && Stored(e, value) == value) continue;
      std::string line(kMarkerColumn - 1, ' ');
      line[0] = '=';
      line += kMarker;
      line += std::string(1, kind) + " " + std::to_string(i) + " " + Shortest(value);
      if (exact != nullptr) line += " " + *exact;
      text += line + "\r\n";
    }
  };
  annex('m', numbered.Moves);
  annex('c', numbered.Cells);
  annex('p', numbered.Payoffs);
  return text;
}

void ReadPreciseGameText(const std::string& text, TGameForm32& game) {
  ReadGameText(text, game);
  if (text.find(kMarker) == std::string::npos) return;
  const TNumbered numbered = Numbered(game);
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] != '=' || FieldAt(line, kMarkerColumn, 8) != kMarker) continue;
    std::istringstream fields(line.substr(kMarkerColumn - 1 + 8));
    char kind = 0;
    std::size_t index = 0;
    std::string number;
    std::string exact;
    if (!(fields >> kind >> index >> number)) continue;
    fields >> exact;
    const std::vector<TGameObject32*>& elements = kind == 'm'   ? numbered.Moves
                                                  : kind == 'c' ? numbered.Cells
                                                                : numbered.Payoffs;
    double value = 0;
    if (index >= elements.size() || !ParseExchangeNumber(number, value)) continue;
    TGameObject32* e = elements[index];
    // Only the element that read the rounded number takes the precise one.
    if (Stored(e, value) != ValueOf(e)) continue;
    ValueOf(e) = value;
    if (!exact.empty()) game.ExactNumbers[e] = exact;
  }
}

bool IsPlainNumberText(const std::string& text, double value) {
  return text == Shortest(value);
}

void KeepExactNumber(TGameForm32& game, const TGameObject32* element, const std::string& text,
                     double value) {
  if (!IsPlainNumberText(text, value)) game.ExactNumbers[element] = text;
}

std::string ExchangeNumberText(TGameForm32& game, const TGameObject32* element, double value) {
  if (const std::string* exact = ExactOf(game, element, value)) return *exact;
  return Shortest(value);
}

std::vector<std::string> RoundedNumbers(TGameForm32& game) {
  std::vector<std::string> notes;
  const TNumbered numbered = Numbered(game);
  for (const auto* list : {&numbered.Moves, &numbered.Cells, &numbered.Payoffs}) {
    for (TGameObject32* e : *list) {
      const double value = ValueOf(e);
      const double stored = Stored(e, value);
      if (!Noticeable(value, stored)) continue;
      const auto place = [](TGameObject32* m) {
        if (m == nullptr) return std::string();
        if (m->TypeCode == kCell) return "cell " + m->Name;
        const TNode32* from = As<TMove32>(m)->From.get();
        return "move " + m->Name + (from != nullptr ? " at " + from->Name : std::string());
      };
      std::string what;
      if (e->TypeCode == kPayoff) {
        auto* payoff = As<TPayoff32>(e);
        what = "The payoff of " +
               (payoff->Player.get() != nullptr ? payoff->Player->Name : std::string()) + " on " +
               place(payoff->Move.get());
      } else {
        what = "The number of " + place(e);
      }
      const std::string* exact = ExactOf(game, e, value);
      notes.push_back(what + ": " + (exact != nullptr ? *exact : Shortest(value)) + " is kept as " +
                      Shortest(stored) + " in a game file");
    }
  }
  return notes;
}

}  // namespace ludomark
