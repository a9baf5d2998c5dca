#include "gamefile/exchange_tokens.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "gamefile/file_error.h"

namespace ludomark {

namespace {
bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v' || c == ',';
}

bool ParseDecimal(const std::string& text, double& value) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (begin != end && *begin == '+') ++begin;
  // from_chars wants a digit before the point; ".5" and "-.5" are written often.
  std::string fixed;
  if (begin != end && *begin == '.') {
    fixed = std::string("0") + std::string(begin, end);
  } else if (end - begin > 1 && begin[0] == '-' && begin[1] == '.') {
    fixed = std::string("-0") + std::string(begin + 1, end);
  }
  if (!fixed.empty()) {
    begin = fixed.data();
    end = begin + fixed.size();
  }
  const auto r = std::from_chars(begin, end, value);
  return r.ec == std::errc() && r.ptr == end && std::isfinite(value);
}
}  // namespace

TExchangeTokens::TExchangeTokens(std::string text, std::string path)
    : text_(std::move(text)), path_(std::move(path)) {}

void TExchangeTokens::Fail(int line, const std::string& message) const {
  throw TFileError(path_, std::string("line ") + std::to_string(line) + ": " + message);
}

TExchangeTokens::Token TExchangeTokens::Scan() {
  while (at_ < text_.size() && IsSpace(text_[at_])) {
    // CR LF counts once; a lone CR ends a line too.
    if (text_[at_] == '\n' ||
        (text_[at_] == '\r' && (at_ + 1 >= text_.size() || text_[at_ + 1] != '\n'))) {
      ++line_;
    }
    ++at_;
  }
  Token token;
  token.line = line_;
  if (at_ >= text_.size()) return token;
  const char c = text_[at_];
  if (c == '{' || c == '}') {
    ++at_;
    token.kind = c == '{' ? Kind::Open : Kind::Close;
    token.text = std::string(1, c);
    return token;
  }
  if (c == '"') {
    ++at_;
    token.kind = Kind::String;
    while (true) {
      if (at_ >= text_.size()) Fail(token.line, "a string is not closed");
      char d = text_[at_++];
      if (d == '"') break;
      if (d == '\\' && at_ < text_.size()) d = text_[at_++];
      if (d == '\n') ++line_;
      token.text += d;
    }
    return token;
  }
  while (at_ < text_.size() && !IsSpace(text_[at_]) && text_[at_] != '{' && text_[at_] != '}' &&
         text_[at_] != '"') {
    token.text += text_[at_++];
  }
  const char first = token.text[0];
  if (std::isdigit(static_cast<unsigned char>(first)) || first == '-' || first == '+' ||
      first == '.') {
    token.kind = Kind::Number;
    if (!ParseExchangeNumber(token.text, token.value)) {
      Fail(token.line, "\"" + token.text + "\" is not a number");
    }
    return token;
  }
  token.kind = Kind::Word;
  return token;
}

const TExchangeTokens::Token& TExchangeTokens::Peek() {
  if (!peeked_) {
    next_ = Scan();
    peeked_ = true;
  }
  return next_;
}

TExchangeTokens::Token TExchangeTokens::Next() {
  Peek();
  peeked_ = false;
  return next_;
}

TExchangeTokens::Token TExchangeTokens::Expect(Kind kind, const std::string& what) {
  Token token = Next();
  if (token.kind != kind) {
    Fail(token.line, "expected " + what +
                         (token.kind == Kind::End ? " before the end of the file"
                                                  : ", found \"" + token.text + "\""));
  }
  return token;
}

bool ParseExchangeNumber(const std::string& text, double& value) {
  const std::size_t slash = text.find('/');
  if (slash == std::string::npos) return ParseDecimal(text, value);
  double numerator = 0;
  double denominator = 0;
  if (!ParseDecimal(text.substr(0, slash), numerator) ||
      !ParseDecimal(text.substr(slash + 1), denominator) || denominator == 0) {
    value = 0;
    return false;
  }
  // One division of two exact integers: the nearest double to the ratio.
  value = numerator / denominator;
  return true;
}

double TExchangeTokens::ExpectNumber(const std::string& what) {
  return Expect(Kind::Number, what).value;
}

}  // namespace ludomark
