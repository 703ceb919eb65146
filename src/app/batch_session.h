// A batch run: the host editor with the package, documents opened from files or text, keys fed
// as typed keys from key notation, and the final state read back. Batch mode and the keystroke
// scenario tests both drive the engine through this class.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/host_start.h"
#include "common/key_code.h"
#include "host/package.h"
#include "platform/editor_host.h"

namespace tavik::app {

class BatchSession {
 public:
  // The registry in memory, so runs never touch a file; the package is loaded.
  BatchSession();
  // The registry from a file; the package is loaded when the registry lists it.
  explicit BatchSession(const RegistrySource& registry);
  ~BatchSession();

  // Opens a file as a document; a missing file starts an empty document with that name.
  // Returns an error text when the file exists but cannot be read.
  std::optional<std::string> OpenFile(const std::string& path);
  void OpenText(const std::string& name, std::string_view utf8_text);
  // Gives the focus to the first opened document's view.
  void FocusFirstDocument();
  // Puts the caret of the current view on a line at a byte offset of the line's UTF-8 text.
  void SetCursorUtf8(int line, int byte_column);

  // Answers for questions, in order: "y"/"n", or "y", "n", "a", "q", "l" for the confirmation.
  void SetAnswers(std::vector<std::string> answers);
  // Lines written to the output pane are also handed to this sink as they are written, and
  // those written before it was set at once.
  void SetPaneSink(std::function<void(const std::string&)> sink);

  // Feeds the keys of a key-notation text, one typed key at a time.
  void FeedNotation(std::string_view utf8_notation);
  void FeedKey(KeyCode key);
  // A running mapping timer fires now: keys held back for a mapping are handled as on time-out.
  void FinishKeys();

  // The text of the buffer in the view exactly as saving would write it; after every document
  // was closed, the text the last closed one had.
  std::string BufferTextUtf8() const;
  bool WriteBufferText(std::FILE* out) const;
  // Caret line (0-based) and column in UTF-16 units.
  std::pair<uint32_t, uint32_t> Cursor() const;
  std::pair<int, int> CursorUtf8() const;
  std::string ModeName() const;
  std::string StatusUtf8() const;
  // What the status bar shows: the engine's status text, or a host message (a failed save)
  // that stands until the next key.
  std::string StatusBarUtf8();
  int Beeps() const;
  std::vector<std::string> PaneLines() const;

  platform::EditorHost& Editor() { return *editor_; }
  host::Package& Package() { return *package_; }
  // False after the package was unregistered: keys then type text.
  bool HasPackage() const { return package_ != nullptr; }

 private:
  static constexpr int kMaxTimerRounds = 4096;
  platform::View* CurrentView() const;
  std::string NextAnswer();

  std::unique_ptr<platform::EditorHost> editor_;
  std::unique_ptr<host::Package> package_;
  std::deque<std::string> answers_;
  std::function<void(const std::string&)> pane_sink_;
  std::string last_closed_text_;
};

// A typed key as a keyboard delivers it: an upper-case letter comes with Shift held.
KeyCode AsTypedKey(KeyCode key);

}  // namespace tavik::app
