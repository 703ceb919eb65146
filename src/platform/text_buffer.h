// A text buffer: lines, an undo history and change listeners. Every edit, including undo and
// redo, goes through Replace and is told to the listeners.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_pos.h"
#include "platform/buffer_change.h"
#include "platform/line_store.h"
#include "platform/markers.h"
#include "platform/undo_history.h"

namespace tavik::platform {

using ChangeListener = std::function<void(const BufferChange&)>;

class TextBuffer {
 public:
  TextBuffer() = default;
  ~TextBuffer() { *alive_ = false; }
  // Lines split at "\n"; a "\r\n" pair is one break.
  explicit TextBuffer(std::u16string_view text);
  explicit TextBuffer(LineStore lines) : lines_(std::move(lines)) {}
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;

  const LineStore& Lines() const { return lines_; }
  uint32_t LineCount() const { return lines_.LineCount(); }
  uint32_t LineLength(uint32_t line) const { return lines_.LineLength(line); }
  void ReadLine(uint32_t line, std::u16string& out) const { lines_.ReadLine(line, out); }
  std::u16string Line(uint32_t line) const;
  RawLine Raw(uint32_t line) const { return lines_.Raw(line); }

  // The text between two positions with "\n" between lines.
  std::u16string GetText(TextPos start, TextPos end) const;
  // The whole text, lines joined by "\n".
  std::u16string Text() const;
  TextPos End() const;
  // Resolves kEndOfLineColumn; false when the position lies outside the text.
  bool Resolve(TextPos& pos) const;
  // The nearest position inside the text.
  TextPos Clamp(TextPos pos) const;

  // Replaces the text between two positions (in either order); "\n" and "\r\n" in `text` break
  // lines. Returns the end of the inserted text, or nothing when a position is invalid.
  std::optional<TextPos> Replace(TextPos start, TextPos end, std::u16string_view text,
                                 bool typing = false);
  std::optional<TextPos> Insert(TextPos pos, std::u16string_view text) {
    return Replace(pos, pos, text);
  }
  // Replaces the whole lines [first, first + old_count) by `lines` (at least one) as one edit.
  // Each line is stored as given, a CR at its end included. False when the lines do not exist.
  bool ReplaceLines(uint32_t first, uint32_t old_count, std::span<const std::u16string_view> lines);
  // The same for lines whose units are all below 256, given one byte per unit: they go into the
  // store as they are.
  bool ReplaceNarrowLines(uint32_t first, uint32_t old_count,
                          std::span<const std::string_view> lines);

  UndoHistory& History() { return history_; }
  const UndoHistory& History() const { return history_; }
  void OpenCompound() { history_.OpenCompound(); }
  bool CloseCompound() { return history_.CloseCompound(); }
  void PushMarker(const void* tag) { history_.PushMarker(tag); }
  // Undo and redo of one unit; the result is where the change happened (for the caret), or
  // nothing when there was no unit. A marker unit changes no text and yields the empty optional
  // inside a true `done`.
  struct ReplayResult {
    bool done = false;
    std::optional<TextPos> where;
  };
  ReplayResult Undo();
  ReplayResult Redo();
  // Redoes the redo units up to and including the unit with the id; false when it is not there.
  // `where` is where the first of them began, in the text all of them leave.
  bool RedoThrough(uint64_t unit_id, std::optional<TextPos>* where = nullptr);

  // Highlights placed on the text; they follow its edits.
  HighlightMarkers& Markers() { return markers_; }
  const HighlightMarkers& Markers() const { return markers_; }

  // A read-only buffer refuses every edit, undo and redo included.
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool read_only) { read_only_ = read_only; }

  // Counts every change; lets owners tell whether the text changed since a moment.
  uint64_t Version() const { return version_; }
  // Names the text as it stands, so that undoing back to a moment gives that moment's state
  // again (UndoHistory::State).
  uint64_t TextState() const { return history_.State(); }

  // Becomes false when the buffer is destroyed.
  std::shared_ptr<const bool> LifeToken() const { return alive_; }
  uint64_t AddListener(ChangeListener listener);
  void RemoveListener(uint64_t id);

 private:
  // Redoes the next unit; `where` is set by its first edit if empty, else carried past its edits.
  bool RedoUnit(std::optional<TextPos>& where);
  CompactText CompactRange(TextPos start, TextPos end) const;
  template <class LineView>
  bool ReplaceLinesOf(uint32_t first, uint32_t old_count, std::span<const LineView> lines);
  TextPos ApplyUndoText(TextPos start, TextPos end, const CompactText& text);
  TextPos Apply(TextPos start, TextPos end, std::u16string_view text);
  bool EraseWholeLines(TextPos start, TextPos end, std::u16string_view text);
  // Counts the change and tells the markers and listeners; returns `new_end`.
  TextPos Changed(TextPos start, TextPos old_end, TextPos new_end);
  void Notify(const BufferChange& change);

  LineStore lines_;
  UndoHistory history_;
  HighlightMarkers markers_;
  uint64_t version_ = 0;
  bool read_only_ = false;
  struct Listener {
    uint64_t id;
    std::shared_ptr<ChangeListener> fn;
  };
  std::vector<Listener> listeners_;
  uint64_t next_listener_id_ = 1;
  int notifying_ = 0;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace tavik::platform
