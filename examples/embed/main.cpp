// The smallest complete host of the Tavik engine: the text is a vector of lines, every edit is a
// unit of a trivial undo history, and keys come from standard input in key notation (`dw`,
// `<Esc>`, `:s/a/b/<CR>`; line breaks of the input are not keys). At the end the text goes to
// standard output, the engine's status text (if any) to standard error.
//   Usage: embed [LINE...] < KEYS        (each LINE one line of the starting text)
#include <tavik/engine.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using tavik::HostResult;
using tavik::TextPos;

// UTF-8 to UTF-16; a byte that starts no valid sequence becomes U+FFFD.
std::u16string Widen(std::string_view in) {
  std::u16string out;
  for (size_t i = 0, n = 0; i < in.size(); i += n + 1) {
    const unsigned char b = in[i];
    n = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : 4;
    char32_t c = n == 4 ? 0xFFFD : b & (0x7F >> n);
    for (size_t k = 1; k <= n && c != 0xFFFD; ++k) {
      c = i + k < in.size() && (in[i + k] & 0xC0) == 0x80 ? (c << 6) | (in[i + k] & 0x3F) : 0xFFFD;
    }
    if (c == 0xFFFD) n = 0;
    if (c >= 0x10000) out += {char16_t(0xD7C0 + (c >> 10)), char16_t(0xDC00 | (c & 0x3FF))};
    if (c < 0x10000) out += char16_t(c);
  }
  return out;
}

// UTF-16 to UTF-8.
std::string Narrow(std::u16string_view in) {
  std::string out;
  for (size_t i = 0; i < in.size(); ++i) {
    char32_t c = in[i];
    if ((c & 0xFC00) == 0xD800 && i + 1 < in.size() && (in[i + 1] & 0xFC00) == 0xDC00) {
      c = 0x10000 + ((c - 0xD800) << 10) + (in[++i] - 0xDC00);
    }
    const int n = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    out += char(n == 0 ? c : (0xFF & ~(0xFF >> (n + 1))) | (c >> (6 * n)));
    for (int k = n - 1; k >= 0; --k) out += char(0x80 | ((c >> (6 * k)) & 0x3F));
  }
  return out;
}

// One buffer shown unwrapped in one view, without collapsed regions.
class LinesView final : public tavik::HostView {
 public:
  explicit LinesView(std::vector<std::u16string> lines) : lines_(std::move(lines)) {
    if (lines_.empty()) lines_.emplace_back();
  }
  const std::vector<std::u16string>& Lines() const { return lines_; }

  bool IsAlive() const override { return true; }
  uint32_t LineCount() const override { return uint32_t(lines_.size()); }
  uint32_t LineLength(uint32_t line) const override {
    return line < lines_.size() ? uint32_t(lines_[line].size()) : 0;
  }
  bool ReadLine(uint32_t line, std::u16string& out) const override {
    if (line < lines_.size()) out = lines_[line];
    return line < lines_.size();
  }
  HostResult ReplaceText(TextPos start, TextPos end, std::u16string_view text) override {
    Edit(start, end, text);
    return HostResult::kOk;
  }
  HostResult OpenCompoundEdit() override { return HostResult::kOk; }
  HostResult CloseCompoundEdit() override { return HostResult::kOk; }

  // The history: units [0, done_) can be undone, the rest redone. The engine brackets its
  // commands with marker units of its own and undoes one unit at a time with "Edit.Undo".
  uint32_t UndoUnitCount() const override { return uint32_t(done_); }
  tavik::UndoUnitInfo UndoUnitAt(uint32_t i) const override { return InfoAt(i); }
  uint32_t RedoUnitCount() const override { return uint32_t(history_.size() - done_); }
  tavik::UndoUnitInfo RedoUnitAt(uint32_t i) const override { return InfoAt(done_ + i); }
  HostResult PushUndoMarker(const void* tag) override { return Push({{0, tag}, {}, caret_}); }
  HostResult RedoThrough(uint64_t id) override {
    while (done_ < history_.size() && Swap(history_[done_++]) != id) {
    }
    return HostResult::kOk;
  }
  // The host commands this host knows: undo, and the line break that "o" and "O" open.
  HostResult ExecuteCommand(std::u16string_view name, std::u16string_view) override {
    if (name == u"Edit.BreakLine") caret_ = Edit(caret_, caret_, u"\n");
    if (name == u"Edit.Undo" && done_ > 0) Swap(history_[--done_]);
    return name == u"Edit.BreakLine" || name == u"Edit.Undo" ? HostResult::kOk
                                                             : HostResult::kNotImpl;
  }
  // Types a key the engine left to the host: text and Tab at the caret, Return, Backspace and
  // Delete, the arrow keys, Home and End.
  void Type(tavik::KeyCode key) {
    TextPos& at = caret_;
    const TextPos left = at.column > 0 ? TextPos{at.line, at.column - 1}
                         : at.line > 0 ? TextPos{at.line - 1, LineLength(at.line - 1)}
                                       : at;
    const TextPos right = at.column < LineLength(at.line) ? TextPos{at.line, at.column + 1}
                          : at.line + 1 < LineCount()     ? TextPos{at.line + 1, 0}
                                                          : at;
    const bool text = key.IsChar() && (key.flags & ~tavik::key_mod::kShift) == 0;
    if (text && (key.code >= 0x20 || key.code == u'\t' || key.code == u'\r')) {
      at = Edit(at, at, key.code == u'\r' ? u"\n" : std::u16string(1, char16_t(key.code)));
    } else if (text && key.code == u'\b') {
      Edit(left, at, u""), at = left;
    } else if (key.IsSpecial(tavik::vk::kDelete)) {
      Edit(at, right, u"");
    } else if (key.IsSpecial(tavik::vk::kLeft) || key.IsSpecial(tavik::vk::kRight)) {
      at = key.code == tavik::vk::kLeft ? left : right;
    } else if (key.IsSpecial(tavik::vk::kHome) || key.IsSpecial(tavik::vk::kEnd)) {
      at.column = key.code == tavik::vk::kHome ? 0 : LineLength(at.line);
    } else if (key.IsSpecial(tavik::vk::kUp) || key.IsSpecial(tavik::vk::kDown)) {
      at = Clamp({key.code == tavik::vk::kUp ? at.line - (at.line > 0) : at.line + 1, at.column});
    }
  }

  TextPos Caret() const override { return caret_; }
  void SetCaret(TextPos pos) override { caret_ = Clamp(pos); }
  tavik::HostSelection Selection() const override { return selection_; }
  void SetSelection(TextPos anchor, TextPos active, tavik::SelectionShape shape) override {
    selection_ = {anchor, active, shape, anchor == active};
  }
  void ClearSelection() override { selection_ = {caret_, caret_}; }

  std::optional<tavik::CollapsedRegion> CollapsedRegionAt(TextPos) const override { return {}; }
  tavik::ViewPos BufferToView(TextPos pos) const override { return {pos.line, pos.column}; }
  TextPos ViewToBuffer(tavik::ViewPos pos) const override { return {pos.line, pos.column}; }
  uint32_t ViewLineCount() const override { return LineCount(); }
  bool ReadViewLine(uint32_t line, std::u16string& out) const override {
    return ReadLine(line, out);
  }
  std::vector<tavik::CollapsedRegion> RegionsOnViewLine(uint32_t) const override { return {}; }
  uint32_t FirstVisibleLine() const override { return top_; }
  uint32_t VisibleLineCount() const override { return 25; }
  void SetFirstVisibleLine(uint32_t line) override { top_ = std::min(line, LineCount() - 1); }

  const std::u16string& DocumentName() const override { return name_; }
  uint32_t TabSize() const override { return 8; }
  uint32_t IndentSize() const override { return 8; }
  bool InsertTabs() const override { return false; }
  void SetVisibleWhitespace(bool) override {}
  bool IsSplit() const override { return false; }
  void FocusOtherView() override {}
  void CancelUi() override {}
  void Beep() override {}
  void SetChangeListener(std::function<void(const tavik::TextChange&)> listener) override {
    listener_ = std::move(listener);
  }

 private:
  struct Unit {
    tavik::UndoUnitInfo info;
    std::vector<std::u16string> lines;  // the text on the unit's other side; none for a marker
    TextPos caret;
  };
  TextPos Clamp(TextPos pos) const {
    const uint32_t line = std::min(pos.line, LineCount() - 1);
    return {line, std::min(pos.column, LineLength(line))};
  }
  tavik::UndoUnitInfo InfoAt(size_t i) const {
    return i < history_.size() ? history_[i].info : tavik::UndoUnitInfo{};
  }
  void Notify(const tavik::TextChange& change) {
    if (listener_) listener_(change);
  }
  // Replaces text as one unit of the history ("\n" and "\r\n" split lines); returns the end of
  // the new text. The engine hears of every change, its own edits and the host's alike.
  TextPos Edit(TextPos start, TextPos end, std::u16string_view text) {
    std::tie(start, end) = std::minmax(Clamp(start), Clamp(end));
    Push({{}, lines_, start});
    std::vector<std::u16string> added(1);
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == u'\n') added.emplace_back();
      if (text[i] != u'\n' && text.substr(i, 2) != u"\r\n") added.back() += text[i];
    }
    added.front().insert(0, lines_[start.line], 0, start.column);
    const TextPos new_end{start.line + uint32_t(added.size()) - 1, uint32_t(added.back().size())};
    added.back() += lines_[end.line].substr(end.column);
    lines_.erase(lines_.begin() + start.line, lines_.begin() + end.line + 1);
    lines_.insert(lines_.begin() + start.line, added.begin(), added.end());
    Notify({start.line, end.line - start.line + 1, uint32_t(added.size()), start, end, new_end});
    return new_end;
  }
  HostResult Push(Unit unit) {
    history_.resize(done_++);
    unit.info.id = ++last_id_;
    history_.push_back(std::move(unit));
    return HostResult::kOk;
  }
  // Undoes or redoes a unit: its text and the buffer's change places.
  uint64_t Swap(Unit& unit) {
    if (unit.info.marker_tag != nullptr) return unit.info.id;
    const TextPos old_end{LineCount() - 1, uint32_t(lines_.back().size())};
    const uint32_t old_count = LineCount();
    std::swap(unit.lines, lines_);
    caret_ = Clamp(unit.caret);
    Notify(
        {0, old_count, LineCount(), {}, old_end, {LineCount() - 1, LineLength(LineCount() - 1)}});
    return unit.info.id;
  }

  std::vector<std::u16string> lines_;
  std::vector<Unit> history_;
  size_t done_ = 0;
  uint64_t last_id_ = 0;
  TextPos caret_;
  tavik::HostSelection selection_;
  uint32_t top_ = 0;
  std::u16string name_ = u"embed";
  std::function<void(const tavik::TextChange&)> listener_;
};

// The output pane is standard error; questions are answered no, and no other file opens.
class StdioHost final : public tavik::EngineHost {
  void WriteOutput(std::u16string_view line) override { std::cerr << Narrow(line) << '\n'; }
  bool AskYesNo(std::u16string_view, std::u16string_view) override { return false; }
  tavik::ConfirmAnswer AskConfirm(std::u16string_view) override {
    return tavik::ConfirmAnswer::kNo;
  }
  bool SwitchToDocument(std::u16string_view, TextPos) override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::u16string> lines;
  for (int i = 1; i < argc; ++i) lines.push_back(Widen(argv[i]));
  LinesView view(std::move(lines));
  StdioHost host;
  tavik::Engine engine(host);
  engine.Attach(view);
  for (std::string line; std::getline(std::cin, line);) {
    for (tavik::KeyCode key : tavik::ParseKeys(Widen(line))) {
      // Typed on a keyboard, an upper-case letter comes with Shift (without, it is Caps Lock).
      if (key.IsChar() && key.code >= u'A' && key.code <= u'Z') key.flags |= tavik::key_mod::kShift;
      if (!engine.FeedKey(view, key)) view.Type(key);
    }
  }
  for (const std::u16string& line : view.Lines()) std::cout << Narrow(line) << '\n';
  if (const std::u16string status = engine.StatusText(); !status.empty()) {
    std::cerr << Narrow(status) << '\n';
  }
  return 0;
}
