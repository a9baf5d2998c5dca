#include "cli/progress_observer.h"

#include <ostream>

namespace ludomark::cli {

TProgressLine::~TProgressLine() {
  if (shown_) err_ << "\r\033[K" << std::flush;
}

void TProgressLine::StageCaption(const std::string& caption) {
  caption_ = caption;
  Show();
}

void TProgressLine::PercentText(const std::string& text) {
  if (text == percent_) return;
  percent_ = text;
  Show();
}

void TProgressLine::Show() {
  err_ << "\r\033[K" << caption_ << " " << percent_ << std::flush;
  shown_ = true;
}

}  // namespace ludomark::cli
