#include "session/solution_report.h"

#include <charconv>
#include <cmath>
#include <ostream>
#include <vector>

#include "model/choice.h"
#include "model/info.h"
#include "model/node.h"
#include "model/number_format.h"
#include "model/player.h"
#include "model/solution.h"

namespace ludomark::session {

namespace {

struct ChoiceRow {
  TChoice32* choice;
  std::string set;
  std::string player;
};

// Choices of players that are not temporary, in Strategies order, with the name of their set:
// the side for a table strategy, the first member node otherwise.
std::vector<ChoiceRow> ChoiceRows(TGameForm32& game) {
  std::vector<ChoiceRow> rows;
  game.Strategies().ForEachAs<TChoice32>([&](TChoice32* c) {
    TInfo32* info = c->Info.get();
    if (c->Temporary || info == nullptr || info->Player.get() == nullptr) return;
    const std::string set = info->TypeCode == kSide ? info->Name : info->FirstMemberName();
    rows.push_back({c, set, info->Player->Name});
  });
  return rows;
}

std::vector<TNode32*> ShownNodes(TGameForm32& game) {
  std::vector<TNode32*> nodes;
  game.Nodes().ForEach([&](TGameObject32* e) {
    if (!e->Temporary) nodes.push_back(As<TNode32>(e));
  });
  return nodes;
}

std::vector<TPlayer32*> Players(TGameForm32& game) {
  return ElementsOf<TPlayer32>(game.Players());
}

std::string Kind(int kind) {
  return kind == 1 ? "pure" : kind == 2 ? "mixed" : kind == 3 ? "sampled" : "unknown";
}

std::string JsonNumber(double value) {
  if (!std::isfinite(value)) return "null";
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 17);
  return std::string(buf, res.ptr);
}

// Length of the well-formed UTF-8 sequence starting at `i` (no overlong forms, surrogates or
// code points above U+10FFFF), 0 when there is none.
std::size_t Utf8Length(const std::string& text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

std::string AsUtf8(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (const std::size_t length = Utf8Length(text, i)) {
      out.append(text, i, length);
      i += length - 1;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      if (const std::size_t length = Utf8Length(text, i)) {
        out.append(text, i, length);
        i += length - 1;
        continue;
      }
    }
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          // A byte that is no part of UTF-8 text stands for its Latin-1 character.
          const char* hex = "0123456789abcdef";
          out += "\\u00";
          out += hex[c >> 4];
          out += hex[c & 15];
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

void PrintSolutionsText(TGameForm32& game, std::ostream& out) {
  const std::vector<ChoiceRow> rows = ChoiceRows(game);
  const std::vector<TNode32*> nodes = ShownNodes(game);
  const std::vector<TPlayer32*> players = Players(game);
  game.Solutions().ForEachAs<TSolution32>([&](TSolution32* s) {
    out << "SOLUTION " << s->Name << " (" << Kind(s->Kind) << ")\n";
    out << "  CHOICES\n";
    for (const ChoiceRow& row : rows) {
      const int n = row.choice->Number;
      out << "    " << row.choice->Name << "@" << row.set << " (" << row.player << ")"
          << " p= " << FormatGeneral(s->Probabilities.Get(n), 6)
          << " e= " << FormatGeneral(s->Expectations.Get(n), 6)
          << (s->BestSet.Get(n) ? " best" : "");
      if (const std::string exact = s->ExactOf(n); !exact.empty()) out << " exact= " << exact;
      out << "\n";
    }
    out << "  BELIEFS\n";
    for (TNode32* node : nodes) {
      if (node->Player.get() == nullptr) continue;
      out << "    " << node->Describe(kShortText)
          << " b= " << FormatGeneral(s->Beliefs.Get(node->Number), 6) << "\n";
    }
    out << "  VALUES\n";
    for (TNode32* node : nodes) {
      out << "    " << node->Describe(kShortText);
      for (TPlayer32* p : players) {
        out << " " << p->Name << "= " << FormatGeneral(s->Values.Get(p->Number, node->Number), 6);
      }
      out << "\n";
    }
  });
}

std::vector<SolutionReport> SolutionReports(TGameForm32& game) {
  const std::vector<ChoiceRow> rows = ChoiceRows(game);
  const std::vector<TNode32*> nodes = ShownNodes(game);
  const std::vector<TPlayer32*> players = Players(game);
  std::vector<SolutionReport> reports;
  game.Solutions().ForEachAs<TSolution32>([&](TSolution32* s) {
    SolutionReport& report = reports.emplace_back();
    report.Name = s->Name;
    report.Kind = s->Kind;
    for (const ChoiceRow& row : rows) {
      const int n = row.choice->Number;
      report.Choices.push_back({row.choice->Name, row.set, row.player, s->Probabilities.Get(n),
                                s->Expectations.Get(n), s->BestSet.Get(n), s->ExactOf(n)});
    }
    for (TNode32* node : nodes) {
      NodeReport& entry = report.Nodes.emplace_back();
      entry.Name = node->Name;
      if (node->Player.get() != nullptr) {
        entry.Player = node->Player->Name;
        entry.Belief = s->Beliefs.Get(node->Number);
      }
      for (TPlayer32* p : players)
        entry.Values.push_back({p->Name, s->Values.Get(p->Number, node->Number)});
    }
  });
  return reports;
}

void PrintSolutionsJson(TGameForm32& game, const std::string& file, const std::string& method,
                        const std::string& outcome, std::ostream& out) {
  out << "{\"file\": " << JsonString(file) << ", \"method\": " << JsonString(method)
      << ", \"status\": " << game.Status() << ", \"outcome\": " << JsonString(outcome);
  if (outcome == "flawed" || !game.Findings().Empty()) {
    out << ", \"findings\": [";
    bool first = true;
    game.Findings().ForEach([&](TGameObject32* e) {
      out << (first ? "" : ", ") << JsonString(e->Name);
      first = false;
    });
    out << "]";
  }
  out << ", \"solutions\": [";
  bool firstSolution = true;
  for (const SolutionReport& s : SolutionReports(game)) {
    out << (firstSolution ? "" : ", ") << "{\"name\": " << JsonString(s.Name)
        << ", \"kind\": " << s.Kind << ", \"choices\": [";
    firstSolution = false;
    for (std::size_t i = 0; i < s.Choices.size(); ++i) {
      const ChoiceReport& c = s.Choices[i];
      out << (i == 0 ? "" : ", ") << "{\"name\": " << JsonString(c.Name)
          << ", \"set\": " << JsonString(c.Set) << ", \"player\": " << JsonString(c.Player)
          << ", \"probability\": " << JsonNumber(c.Probability)
          << (c.Exact.empty() ? "" : ", \"exact\": " + JsonString(c.Exact))
          << ", \"expected\": " << JsonNumber(c.Expected)
          << ", \"best\": " << (c.Best ? "true" : "false") << "}";
    }
    out << "], \"nodes\": [";
    for (std::size_t i = 0; i < s.Nodes.size(); ++i) {
      const NodeReport& node = s.Nodes[i];
      out << (i == 0 ? "" : ", ") << "{\"name\": " << JsonString(node.Name)
          << ", \"player\": " << (node.Player ? JsonString(*node.Player) : "null")
          << ", \"belief\": " << (node.Belief ? JsonNumber(*node.Belief) : "null")
          << ", \"values\": [";
      for (std::size_t p = 0; p < node.Values.size(); ++p) {
        out << (p == 0 ? "" : ", ") << "{\"player\": " << JsonString(node.Values[p].Player)
            << ", \"value\": " << JsonNumber(node.Values[p].Value) << "}";
      }
      out << "]}";
    }
    out << "]}";
  }
  out << "]}\n";
}

}  // namespace ludomark::session
