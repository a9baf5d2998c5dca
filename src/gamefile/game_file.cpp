#include "gamefile/game_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "gamefile/atomic_file.h"
#include "gamefile/bounded_read.h"
#include "gamefile/file_error.h"
#include "gamefile/precise_numbers.h"
#include "gamefile/record_factory.h"
#include "model/fixed_fields.h"
#include "model/solution.h"
#include "model/solution_bit.h"

namespace ludomark {

namespace {

// Limits no real game comes near; past them the input is not a game file (a device, a huge
// binary file), and reading stops before it exhausts memory.
constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;
constexpr std::uint64_t kMaxFileBytes = kMaxGameBytes;
constexpr std::size_t kChunkBytes = std::size_t{64} * 1024;

// Columns of the real-valued field of the records that have one.
bool RealFieldOf(int code, int& start, int& width) {
  start = 65;
  width = code == kMove || code == kCell ? 8 : 16;
  switch (code) {
    case kMove:
    case kCell:
    case kPayoff:
    case kBeliefBit:
    case kMoveProbabilityBit:
    case kMoveExpectedBit:
    case kNodeValueBit:
    case kStrategyProbabilityBit:
    case kStrategyExpectedBit:
      return true;
    default:
      return false;
  }
}

// Splits the bytes into lines at LF, CR LF or a lone CR and files one element per record.
class RecordReader {
 public:
  RecordReader(TGameForm32& game, std::string name) : game_(game), name_(std::move(name)) {}

  void Feed(const char* data, std::size_t size) {
    total_ += size;
    if (total_ > kMaxFileBytes) Refuse("The file is larger than 64 MiB, too large for a game");
    if (size > 0) sawBytes_ = true;
    const char* end = data + size;
    while (data < end) {
      if (afterCr_ && *data == '\n') ++data;  // the LF of a CR LF
      afterCr_ = false;
      const char* stop = data;
      while (stop < end && *stop != '\n' && *stop != '\r') ++stop;
      line_.append(data, stop);
      if (line_.size() > kMaxLineBytes) {
        Refuse("Line " + std::to_string(lineNumber_ + 1) +
               " is longer than 1 MiB, too long for a game");
      }
      if (stop == end) break;
      afterCr_ = *stop == '\r';
      EndLine();
      data = stop + 1;
    }
  }

  // A text may be empty (an empty document's), a file may not: an empty file or /dev/null is
  // no more a game than a file of blank lines.
  void Finish(bool mayBeEmpty) {
    if (!line_.empty()) EndLine();
    if ((sawBytes_ || !mayBeEmpty) && !sawRecord_) {
      Refuse("Not a game file (it holds no game record)");
    }
  }

 private:
  [[noreturn]] void Refuse(const std::string& why) { throw TFileError(name_, why); }

  void EndLine() {
    ++lineNumber_;
    // A byte-order mark some editors put at the start of a UTF-8 file.
    if (lineNumber_ == 1 && line_.rfind("\xEF\xBB\xBF", 0) == 0) line_.erase(0, 3);
    ReadRecord();
    line_.clear();
  }

  void ReadRecord() {
    const int code = ParseIntField(FieldAt(line_, 41, 8));
    int start = 0;
    int width = 0;
    if (RealFieldOf(code, start, width)) {
      const std::string field = FieldAt(line_, start, width);
      if (IsUnreadableNumber(field)) {
        Refuse("Line " + std::to_string(lineNumber_) + " holds a number that cannot be read (\"" +
               TrimRight(field) + "\")");
      }
    }
    TGameObject32* element = NewElementForRecord(code, &game_);
    if (element == nullptr) {
      // Lines the program writes but does not read back still mark a game file.
      if (code == kChoice || code == kHeaderRecord) sawRecord_ = true;
      return;
    }
    sawRecord_ = true;
    element->ParseLine(line_);
    game_.AddObject(element);
  }

  TGameForm32& game_;
  std::string name_;
  std::string line_;
  std::uint64_t total_ = 0;
  long lineNumber_ = 0;
  bool afterCr_ = false;
  bool sawBytes_ = false;
  bool sawRecord_ = false;
};

void ReadRecords(std::istream& in, TGameForm32& game, const std::string& name, bool mayBeEmpty) {
  game.ClearDerivedLists();
  RecordReader reader(game, name);
  std::vector<char> buffer(kChunkBytes);
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    reader.Feed(buffer.data(), static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) {
    const int code = errno;
    throw TFileError(name, std::string("Cannot read the game file") +
                               (code != 0 ? std::string(" (") + std::strerror(code) + ")" : ""));
  }
  reader.Finish(mayBeEmpty);
}

}  // namespace

bool GameFileExists(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  return static_cast<bool>(in);
}

bool ReadGameFile(const std::string& path, TGameForm32& game) {
  // Opened once: a pipe or a device gives its bytes only to the first reader.
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  errno = 0;
  ReadRecords(in, game, path, /*mayBeEmpty=*/false);
  game.RelinkAfterLoad();
  game.SetFileName(path);
  return true;
}

void ReadGameText(const std::string& text, TGameForm32& game) {
  std::istringstream in(text);
  ReadRecords(in, game, "(text)", /*mayBeEmpty=*/true);
  game.RelinkAfterLoad();
}

std::function<std::unique_ptr<TGameForm32>()> CopiesOf(TGameForm32& game) {
  // Numbers at full precision: a run solves the game as it is, not as a file would round it.
  return [text = std::make_shared<const std::string>(PreciseGameText(game))] {
    auto copy = std::make_unique<TGameType32>();
    ReadPreciseGameText(*text, *copy);
    return std::unique_ptr<TGameForm32>(std::move(copy));
  };
}

std::string GameFileText(TGameForm32& game) {
  std::string text;
  game.SetFileNumbering(/*on=*/true);
  for (TGameList* list : {&game.Players(), &game.Nodes(), &game.Moves(), &game.Infos(),
                          &game.Strategies(), &game.Payoffs()}) {
    list->ForEach([&](TGameObject32* e) {
      if (!TGameForm32::IsSaved(e)) return;
      text += e->Describe(kFileLine);
      text += "\r\n";
    });
  }
  game.SetFileNumbering(/*on=*/false);
  // Back to list positions, which the solver indexes by.
  game.Renumber();
  return text;
}

void WriteGameFile(const std::string& path, TGameForm32& game, bool withSolutions) {
  std::string text = GameFileText(game);
  if (withSolutions) text += SolutionsFileText(game);
  // A file the program writes is one it reads: what the reader would refuse is not written.
  if (text.size() > kMaxFileBytes) {
    std::string why = "The game is too large for a game file: its text takes ";
    why.append(std::to_string(text.size() >> 20))
        .append(" MiB, more than the 64 MiB a game file may hold");
    throw TFileError(path, why);
  }
  WriteFileAtomically(path, text);
  game.SetStatus(StatusSaved);
  if (withSolutions) game.SetStatus(StatusSolvedSaved);
  game.SetFileName(path);
}

std::string SolutionsFileText(TGameForm32& game) {
  std::string text;
  game.SetFileNumbering(/*on=*/true);
  game.Solutions().ForEach([&](TGameObject32* e) {
    text += e->Describe(kFileLine);
    text += "\r\n";
    As<TSolution32>(e)->Bits.ForEach([&](TGameObject32* bit) {
      text += bit->Describe(kFileLine);
      text += "\r\n";
    });
  });
  game.SetFileNumbering(/*on=*/false);
  game.Renumber();
  return text;
}

void AppendSolutionsToFile(const std::string& path, TGameForm32& game) {
  if (!GameFileExists(path)) return;
  // The file holds this game: it is written again whole, with the solutions, in one
  // replacement, so no failure leaves a file without its game or with half a solution.
  WriteFileAtomically(path, GameFileText(game) + SolutionsFileText(game));
  game.SetStatus(StatusSolvedSaved);
}

}  // namespace ludomark
