#include "cli/shard_part.h"

#include <charconv>
#include <system_error>

#include "gamefile/bounded_read.h"
#include "gamefile/file_error.h"
#include "model/fixed_fields.h"

namespace ludomark {

namespace {

// Record codes a game reader does not know, so it skips these lines.
constexpr int kShardRecord = 830;
constexpr int kFoundRecord = 831;
constexpr int kEndRecord = 839;

// FNV-1a over the bytes: enough to tell a damaged part from a sound one.
uint64_t Checksum(const std::string& text, std::size_t size) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (std::size_t i = 0; i < size; ++i) {
    hash ^= static_cast<unsigned char>(text[i]);
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

// The columns every record starts with: name, position, number and code.
std::string RecordStart(const std::string& name, uint64_t number, int code) {
  std::string line = name;
  PadTo(line, 16);
  line += "0";
  PadTo(line, 24);
  line += "0";
  PadTo(line, 32);
  line += std::to_string(number);
  PadTo(line, 40);
  line += std::to_string(code);
  PadTo(line, 48);
  return line;
}

void AppendField(std::string& line, uint64_t value, int end) {
  line += std::to_string(value);
  PadTo(line, end);
}

// The shortest text that reads back as exactly the same double.
void AppendExact(std::string& line, double value) {
  char buf[32];
  const auto res = std::to_chars(buf, buf + sizeof buf, value);
  line.append(buf, res.ptr);
}

bool ParseUnsigned(const std::string& field, uint64_t& value) {
  std::size_t begin = field.find_first_not_of(' ');
  if (begin == std::string::npos) return false;
  const std::size_t end = field.find_last_not_of(' ') + 1;
  const auto res = std::from_chars(field.data() + begin, field.data() + end, value);
  return res.ec == std::errc() && res.ptr == field.data() + end;
}

class PartReader {
 public:
  PartReader(std::string path, std::string text) : path_(std::move(path)), text_(std::move(text)) {}

  TShardPart Read(const std::string& gameText) {
    if (text_.compare(0, gameText.size(), gameText) != 0) {
      Refuse("This part holds another game (its game records differ from the game file's)");
    }
    FindEnd();
    std::size_t at = gameText.size();
    bool sawShard = false;
    uint64_t found = 0;
    while (at < endStart_) {
      std::size_t stop = text_.find("\r\n", at);
      if (stop == std::string::npos || stop > endStart_) stop = endStart_;
      const std::string line = text_.substr(at, stop - at);
      at = stop + 2;
      const int code = ParseIntField(FieldAt(line, 41, 8));
      if (code == kShardRecord) {
        sawShard = ReadShard(line);
      } else if (code == kFoundRecord) {
        if (!sawShard) Refuse("This part is damaged (a found point before its shard record)");
        ReadFound(line);
        ++found;
      }
    }
    if (!sawShard) Refuse("Not a part of a sharded run (it has no shard record)");
    if (found != endCount_) Refuse("This part is damaged (it counts other points than it holds)");
    return std::move(part_);
  }

 private:
  [[noreturn]] void Refuse(const std::string& why) { throw TFileError(path_, why); }

  // The end record is the last line; without it the part was cut short.
  void FindEnd() {
    if (text_.size() < 3 || text_.compare(text_.size() - 2, 2, "\r\n") != 0) Truncated();
    const std::size_t last = text_.rfind("\r\n", text_.size() - 3);
    endStart_ = last == std::string::npos ? 0 : last + 2;
    const std::string line = text_.substr(endStart_, text_.size() - 2 - endStart_);
    if (ParseIntField(FieldAt(line, 41, 8)) != kEndRecord) Truncated();
    uint64_t sum = 0;
    const std::string hex = FieldAt(line, 57, 16);
    const auto res = std::from_chars(hex.data(), hex.data() + hex.size(), sum, 16);
    if (res.ec != std::errc() || !ParseUnsigned(FieldAt(line, 33, 8), endCount_)) Truncated();
    if (sum != Checksum(text_, endStart_)) {
      Refuse("This part is damaged (its checksum does not match its text)");
    }
  }

  [[noreturn]] void Truncated() {
    Refuse("This part is truncated (its end record is missing): write it again");
  }

  bool ReadShard(const std::string& line) {
    uint64_t index = 0;
    uint64_t count = 0;
    uint64_t method = 0;
    uint64_t choices = 0;
    uint64_t complete = 0;
    if (!ParseUnsigned(FieldAt(line, 33, 8), index) ||
        !ParseUnsigned(FieldAt(line, 49, 8), count) ||
        !ParseUnsigned(FieldAt(line, 57, 8), method) ||
        !ParseUnsigned(FieldAt(line, 65, 8), choices) ||
        !ParseUnsigned(FieldAt(line, 73, 8), complete) || count == 0 || index == 0 ||
        index > count || count > 1000000 || method < 1 || method > 4 || choices > 1000000) {
      Refuse("This part is damaged (its shard record cannot be read)");
    }
    part_.Index = static_cast<int>(index);
    part_.Count = static_cast<int>(count);
    part_.Method = static_cast<int>(method);
    part_.Choices = static_cast<int>(choices);
    part_.Complete = complete == 1;
    return true;
  }

  void ReadFound(const std::string& line) {
    TFoundPoint point;
    uint64_t stage = 0;
    uint64_t kind = 0;
    if (!ParseUnsigned(FieldAt(line, 49, 8), stage) || !ParseUnsigned(FieldAt(line, 57, 8), kind) ||
        !ParseUnsigned(FieldAt(line, 65, 24), point.Key) || stage < 1 || stage > 3 || kind > 2) {
      Refuse("This part is damaged (a found point cannot be read)");
    }
    point.Stage = static_cast<int>(stage);
    point.Kind = static_cast<int>(kind);
    const char* at = line.data() + std::min<std::size_t>(line.size(), 88);
    const char* end = line.data() + line.size();
    point.Probabilities.reserve(static_cast<std::size_t>(part_.Choices));
    while (at < end) {
      if (*at == ' ') {
        ++at;
        continue;
      }
      double value = 0;
      const auto res = std::from_chars(at, end, value);
      if (res.ec != std::errc() || !(value >= 0 && value <= 1)) {
        Refuse("This part is damaged (a probability cannot be read)");
      }
      point.Probabilities.push_back(value);
      at = res.ptr;
    }
    if (point.Probabilities.size() != static_cast<std::size_t>(part_.Choices)) {
      Refuse("This part is damaged (a found point has the wrong number of probabilities)");
    }
    part_.Points.push_back(std::move(point));
  }

  std::string path_;
  std::string text_;
  std::size_t endStart_ = 0;
  uint64_t endCount_ = 0;
  TShardPart part_;
};

}  // namespace

std::string PartFileText(const std::string& fileText, const TShardPart& part) {
  std::string text = fileText;
  std::string line = RecordStart("Shard", static_cast<uint64_t>(part.Index), kShardRecord);
  AppendField(line, static_cast<uint64_t>(part.Count), 56);
  AppendField(line, static_cast<uint64_t>(part.Method), 64);
  AppendField(line, static_cast<uint64_t>(part.Choices), 72);
  AppendField(line, part.Complete ? 1 : 0, 80);
  text.append(line).append("\r\n");
  uint64_t number = 0;
  for (const TFoundPoint& point : part.Points) {
    line = RecordStart("Found", ++number, kFoundRecord);
    AppendField(line, static_cast<uint64_t>(point.Stage), 56);
    AppendField(line, static_cast<uint64_t>(point.Kind), 64);
    AppendField(line, point.Key, 88);
    for (std::size_t i = 0; i < point.Probabilities.size(); ++i) {
      if (i > 0) line += ' ';
      AppendExact(line, point.Probabilities[i]);
    }
    text.append(line).append("\r\n");
  }
  const uint64_t sum = Checksum(text, text.size());
  line = RecordStart("End of shard", number, kEndRecord);
  PadTo(line, 56);
  char buf[17];
  const auto res = std::to_chars(buf, buf + sizeof buf, sum, 16);
  line.append(buf, res.ptr);
  PadTo(line, 72);
  text.append(line).append("\r\n");
  return text;
}

TShardPart ReadPartFile(const std::string& path, const std::string& gameText) {
  // A part is a game file with the points found after it: bounded so that a device or a
  // stray huge file given as a part is refused instead of read until memory runs out.
  constexpr std::uint64_t kMaxPartBytes = std::uint64_t{256} << 20;
  return PartReader(path, ReadBoundedFile(path, kMaxPartBytes, "part")).Read(gameText);
}

}  // namespace ludomark
