// The line window of a match attempt: lines are fetched as the match reaches them and copied
// when the source only keeps the most recent one valid.
#include "regex/match_cache.h"

#include "common/narrow_text.h"
#include "regex/line_source.h"

namespace tavik::regex {

void LineWindow::Reset(const LineSource* source, uint32_t base_line, uint32_t line_count) {
  source_ = source;
  base_ = base_line;
  line_count_ = line_count;
  stable_ = source->StableLines();
  views_.clear();
  pos_base_.assign(1, 0);
}

void LineWindow::Reset(const LineSource* source, uint32_t base_line, uint32_t line_count,
                       std::string_view narrow_first_line) {
  Reset(source, base_line, line_count);
  if (copies_.empty()) copies_.emplace_back();
  std::u16string& wide = copies_[0];
  AssignWidened(wide, narrow_first_line);
  views_.push_back(wide);
  pos_base_.push_back(wide.size() + 1);
}

void LineWindow::Fetch(uint32_t w) {
  while (views_.size() <= w) {
    size_t index = views_.size();
    std::u16string_view text = source_->LineText(base_ + uint32_t(index));
    if (!stable_) {
      if (copies_.size() <= index) copies_.emplace_back();
      copies_[index].assign(text);
      text = copies_[index];
    }
    views_.push_back(text);
    pos_base_.push_back(pos_base_.back() + text.size() + 1);
  }
}

}  // namespace tavik::regex
