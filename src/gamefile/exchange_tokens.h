#pragma once

#include <string>

namespace ludomark {

// The tokens of the .efg and .nfg formats: words, quoted strings, numbers (integers, decimals,
// rationals) and braces; commas only separate. Failures throw TFileError naming the file and
// the line ("line 7: expected ...").
class TExchangeTokens {
 public:
  enum class Kind { Word, String, Number, Open, Close, End };
  struct Token {
    Kind kind = Kind::End;
    std::string text;  // a word, a string's content, or a number as written
    double value = 0;  // a number's value
    int line = 1;
  };

  TExchangeTokens(std::string text, std::string path);

  const Token& Peek();
  Token Next();
  // The next token, which must be of the kind; `what` names it in the error.
  Token Expect(Kind kind, const std::string& what);
  double ExpectNumber(const std::string& what);
  [[noreturn]] void Fail(int line, const std::string& message) const;
  const std::string& Path() const { return path_; }

 private:
  Token Scan();

  std::string text_;
  std::string path_;
  std::size_t at_ = 0;
  int line_ = 1;
  bool peeked_ = false;
  Token next_;
};

// A number as the formats write it: an integer, a decimal (".5", "1e-3") or a rational ("1/3"),
// read to the nearest double. False for anything else (a zero denominator among them).
bool ParseExchangeNumber(const std::string& text, double& value);

}  // namespace ludomark
