#pragma once

#include <string>
#include <vector>

namespace ludomark {

// Where the model's message boxes go: a warning or an information with OK, or a question
// answered yes or no. The window shows them; without a window they are recorded.
class TMessageSink {
 public:
  virtual ~TMessageSink() = default;
  virtual void Warning(const std::string& text) = 0;
  virtual void Information(const std::string& text) = 0;
  virtual bool Confirm(const std::string& text) = 0;
};

// Keeps every message; questions get a fixed answer.
class TRecordedMessages : public TMessageSink {
 public:
  void Warning(const std::string& text) override { Shown.push_back(text); }
  void Information(const std::string& text) override { Shown.push_back(text); }
  bool Confirm(const std::string& text) override {
    Shown.push_back(text);
    return Answer;
  }
  std::vector<std::string> Shown;
  bool Answer = true;
};

}  // namespace ludomark
