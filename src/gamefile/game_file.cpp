#include "gamefile/game_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "gamefile/atomic_file.h"
#include "gamefile/file_error.h"
#include "gamefile/record_factory.h"
#include "model/fixed_fields.h"
#include "model/solution.h"

namespace ludomark {

namespace {

void ReadRecord(std::string& line, TGameForm32& game) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  const int code = ParseIntField(FieldAt(line, 41, 8));
  TGameObject32* element = NewElementForRecord(code, &game);
  if (element == nullptr) return;
  element->ParseLine(line);
  game.AddObject(element);
}

void ReadRecords(std::istream& in, TGameForm32& game) {
  std::string line;
  while (std::getline(in, line)) ReadRecord(line, game);
}

}  // namespace

bool GameFileExists(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  return static_cast<bool>(in);
}

bool ReadGameFile(const std::string& path, TGameForm32& game) {
  if (!GameFileExists(path)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  errno = 0;
  ReadRecords(in, game);
  if (in.bad()) {
    const int code = errno;
    throw TFileError(path, std::string("Cannot read the game file") +
                               (code != 0 ? std::string(" (") + std::strerror(code) + ")" : ""));
  }
  game.RelinkAfterLoad();
  game.SetFileName(path);
  return true;
}

void ReadGameText(const std::string& text, TGameForm32& game) {
  std::istringstream in(text);
  ReadRecords(in, game);
  game.RelinkAfterLoad();
}

std::string GameFileText(TGameForm32& game) {
  std::string text;
  game.SetFileNumbering(true);
  for (TGameList* list : {&game.Players(), &game.Nodes(), &game.Moves(), &game.Infos(),
                          &game.Strategies(), &game.Payoffs()}) {
    list->ForEach([&](TGameObject32* e) {
      if (e->Temporary) return;
      text += e->Describe(kFileLine);
      text += "\r\n";
    });
  }
  game.SetFileNumbering(false);
  // Back to list positions, which the solver indexes by.
  game.Renumber();
  return text;
}

void WriteGameFile(const std::string& path, TGameForm32& game) {
  WriteFileAtomically(path, GameFileText(game));
  game.SetStatus(StatusSaved);
  game.SetFileName(path);
}

std::string SolutionsFileText(TGameForm32& game) {
  std::string text;
  game.SetFileNumbering(true);
  game.Solutions().ForEach([&](TGameObject32* e) {
    text += e->Describe(kFileLine);
    text += "\r\n";
    static_cast<TSolution32*>(e)->Bits.ForEach([&](TGameObject32* bit) {
      text += bit->Describe(kFileLine);
      text += "\r\n";
    });
  });
  game.SetFileNumbering(false);
  game.Renumber();
  return text;
}

void AppendSolutionsToFile(const std::string& path, TGameForm32& game) {
  if (!GameFileExists(path)) return;
  AppendToFile(path, SolutionsFileText(game));
  game.SetStatus(StatusSolvedSaved);
}

}  // namespace ludomark
