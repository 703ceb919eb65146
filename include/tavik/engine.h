// The engine as a host embeds it: one object owning the modal engine, its ex command line and
// its settings, fed with the keys typed in the host's views. The host implements HostView for
// each view (text, caret, selection, undo history, scrolling) and EngineHost for the output pane
// and its questions; the engine edits only through them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/key_code.h"
#include "common/text_pos.h"
#include "config/key_notation.h"
#include "config/settings_store.h"
#include "engine/engine_host.h"
#include "engine/text/host_view.h"

namespace tavik {

// How the host draws the caret of a view fed by the engine.
enum class CaretStyle : uint8_t { kThin, kReplace, kBlock };

class Engine {
 public:
  // `host` must outlive the engine. The persistent settings (case rules, beep, Caps Lock,
  // "Enable", ...) are read from `settings` when given, which must outlive the engine too;
  // without one they have their defaults. The registers "*" and "+" are the engine's own: the
  // system clipboard is not connected here.
  explicit Engine(EngineHost& host, SettingsStore* settings = nullptr);
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // Starts serving a view; it must stay alive until Detach (or the engine's end). The view's
  // options start as a copy of the global ones. Attaching a view twice does nothing.
  void Attach(HostView& view);
  // Stops serving a view; the engine no longer calls it. Not from inside a call the engine
  // makes to the host.
  void Detach(HostView& view);

  // One key typed in an attached view (ParseKeys turns key notation into keys). False when the
  // host must process the key itself, as its own typing: in insert mode the key the host
  // delivered is left to it where that is plain typing (text, Return, Backspace, Delete, the
  // arrow keys), so that the host's own services act on it; keys with Alt; keys of a view that
  // is not attached; any key while the engine is disabled. A letter typed with Shift comes with
  // key_mod::kShift: outside typed text an upper-case letter without it is taken for Caps Lock
  // and read as lower case (the "IgnoreCapsLock" setting).
  bool FeedKey(HostView& view, KeyCode key);
  // The timer the view started (HostView::StartTimer) fired: a key held back for a mapping is
  // taken as typed.
  void TimerFired(HostView& view);
  // The host moved the caret or changed the selection itself (a click): the engine takes up
  // the new position.
  void HostMovedCaret(HostView& view);

  // The text for the host's status bar: the mode, a pending command, a message or an error.
  std::u16string StatusText() const;
  CaretStyle Caret() const;
  // The engine takes keys (true at the start unless the "Enable" setting is off).
  bool Enabled() const;
  void SetEnabled(bool enabled);

  // Runs `set` with the text after the command name ("noignorecase", "tm=500", "ic?", "all"),
  // for `view` when given (its copy and the global values), else for the global values, which
  // views attached later start from. Returns the message to show: a value asked for, the
  // listing, or an error such as "Unknown option"; empty when there is nothing to show.
  std::u16string Set(std::u16string_view argument, HostView* view = nullptr);
  // Runs one line of a startup file (`set`, `map` and the other commands that make sense before
  // any view exists). False when the line is no such command; its message is in StatusText().
  bool RunStartupLine(std::u16string_view line);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tavik
