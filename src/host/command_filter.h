// The package's place in a view's command-filter chain: it joins at the head, turns the host's
// editor commands into keys for the engine and swallows what the engine consumes. It keeps the
// view's host-modal state (the host's incremental search or character-code input owns the
// keyboard), clears a read-only flag before each command when the user asked for that, and
// reports Return, Backspace and the host's Ctrl+U command as unsupported where the engine
// wants the key itself.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "common/key_code.h"
#include "platform/command_target.h"
#include "platform/view.h"

namespace tavik::host {

class Package;

// The key an editor command stands for; nothing for a command that is no key.
std::optional<KeyCode> KeyOfEditorCommand(const platform::EditorCommand& command);

class PackageCommandFilter final : public platform::CommandTarget {
 public:
  PackageCommandFilter(Package& package, platform::View& view);
  ~PackageCommandFilter() override;
  PackageCommandFilter(const PackageCommandFilter&) = delete;
  PackageCommandFilter& operator=(const PackageCommandFilter&) = delete;

  // Joins the head of the view's chain, or leaves it.
  void Join();
  void Leave();
  // Leaves and joins again, so the filter is back at the head after others joined.
  void Rejoin();
  bool Joined() const { return next_ != nullptr; }

  platform::CommandStatus QueryStatus(const platform::EditorCommand& command) override;
  platform::HResult Exec(const platform::EditorCommand& command) override;

  // Host-modal: the host's own modal input owns the keyboard until Cancel or Return.
  bool IsHostModal() const { return host_modal_.has_value(); }
  // Ends the host-modal state for a Return or Cancel that automation's command events took
  // before the chain saw it.
  void EndHostModalByEvent(bool by_return) {
    if (host_modal_) EndHostModal(by_return);
  }
  // Suspended while another add-in owns the view.
  void SetSuspended(bool suspended) { suspended_ = suspended; }
  bool Suspended() const { return suspended_; }

  // Raised while the package's window procedure handles a key message: a command that message
  // produces comes back here without being turned into a key again.
  class KeyMessageScope {
   public:
    explicit KeyMessageScope(PackageCommandFilter& filter) : filter_(filter) {
      ++filter_.in_message_;
    }
    ~KeyMessageScope() { --filter_.in_message_; }
    KeyMessageScope(const KeyMessageScope&) = delete;
    KeyMessageScope& operator=(const KeyMessageScope&) = delete;

   private:
    PackageCommandFilter& filter_;
  };
  bool InKeyMessage() const { return in_message_ > 0; }

  // Whether the view's window is fully subclassed, and what makes it so; a translated command
  // fully attaches the view first.
  void SetFullyAttached(bool attached) { fully_attached_ = attached; }
  bool FullyAttached() const { return fully_attached_; }
  void SetFullAttach(std::function<void()> attach) { full_attach_ = std::move(attach); }
  // The language lets the engine take Return when it wants it (on for every language here).
  void SetLanguageReturnFlag(bool on) { language_return_ = on; }

 private:
  // Enabled, eligible, neither host-modal nor suspended.
  bool Intercepting() const;
  std::optional<KeyCode> KeyToFeed(const platform::EditorCommand& command) const;
  void EndHostModal(bool by_return);

  Package& package_;
  platform::View& view_;
  platform::CommandTarget* next_ = nullptr;
  std::optional<uint32_t> host_modal_;  // the command that started it
  bool suspended_ = false;
  int in_message_ = 0;
  bool fully_attached_ = false;
  bool language_return_ = true;
  std::function<void()> full_attach_;
};

}  // namespace tavik::host
