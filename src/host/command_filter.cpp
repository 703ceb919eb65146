// The package's command filter: editor commands become keys for the engine.
#include "host/command_filter.h"

#include <array>

#include "host/package.h"

namespace tavik::host {

namespace {

using platform::CommandGroup;
using platform::CommandStatus;
using platform::EditorCommand;
using platform::HResult;

struct CommandKey {
  uint32_t id;
  KeyCode key;
};

// The text editor's commands that stand for keys. Return and typed characters follow rules of
// their own; movements that extend the selection are the host's.
constexpr std::array kCommandKeys = {
    CommandKey{platform::cmd2k::kBackspace, KeyCode::Char(ch::kBackspace)},
    CommandKey{platform::cmd2k::kTab, KeyCode::Char(ch::kTab)},
    CommandKey{platform::cmd2k::kBackTab, KeyCode::Char(ch::kTab, key_mod::kShift)},
    CommandKey{platform::cmd2k::kDelete, KeyCode::Special(vk::kDelete)},
    CommandKey{platform::cmd2k::kLeft, KeyCode::Special(vk::kLeft)},
    CommandKey{platform::cmd2k::kRight, KeyCode::Special(vk::kRight)},
    CommandKey{platform::cmd2k::kUp, KeyCode::Special(vk::kUp)},
    CommandKey{platform::cmd2k::kDown, KeyCode::Special(vk::kDown)},
    CommandKey{platform::cmd2k::kDocumentStart, KeyCode::Special(vk::kHome, key_mod::kCtrl)},
    CommandKey{platform::cmd2k::kTopLine, KeyCode::Special(vk::kHome, key_mod::kCtrl)},
    CommandKey{platform::cmd2k::kDocumentEnd, KeyCode::Special(vk::kEnd, key_mod::kCtrl)},
    CommandKey{platform::cmd2k::kBottomLine, KeyCode::Special(vk::kEnd, key_mod::kCtrl)},
    CommandKey{platform::cmd2k::kHome, KeyCode::Special(vk::kHome)},
    CommandKey{platform::cmd2k::kFirstChar, KeyCode::Special(vk::kHome)},
    CommandKey{platform::cmd2k::kEnd, KeyCode::Special(vk::kEnd)},
    CommandKey{platform::cmd2k::kLastChar, KeyCode::Special(vk::kEnd)},
    CommandKey{platform::cmd2k::kPageUp, KeyCode::Special(vk::kPageUp)},
    CommandKey{platform::cmd2k::kPageDown, KeyCode::Special(vk::kPageDown)},
    CommandKey{platform::cmd2k::kScrollUp, KeyCode::Special(vk::kUp, key_mod::kCtrl)},
    CommandKey{platform::cmd2k::kScrollDown, KeyCode::Special(vk::kDown, key_mod::kCtrl)},
    CommandKey{platform::cmd2k::kToggleOvertype, KeyCode::Special(vk::kInsert)},
    CommandKey{platform::cmd2k::kWordPrevious, KeyCode::Special(vk::kLeft, key_mod::kCtrl)},
    CommandKey{platform::cmd2k::kWordNext, KeyCode::Special(vk::kRight, key_mod::kCtrl)},
    CommandKey{platform::cmd2k::kCancel, KeyCode::Char(ch::kEscape)},
};

// Only the text editor's commands up to this id are ever keys.
constexpr uint32_t kLastTranslatedId = 144;

bool IsStd2K(const EditorCommand& command, uint32_t id) {
  return command.group == CommandGroup::kStandard2K && command.id == id;
}

}  // namespace

std::optional<KeyCode> KeyOfEditorCommand(const EditorCommand& command) {
  if (command.group == CommandGroup::kStandard97) {
    if (command.id == platform::cmd97::kDelete) return KeyCode::Special(vk::kDelete);
    return std::nullopt;
  }
  if (command.group != CommandGroup::kStandard2K || command.id > kLastTranslatedId) {
    return std::nullopt;
  }
  for (const CommandKey& row : kCommandKeys) {
    if (row.id == command.id) return row.key;
  }
  return std::nullopt;
}

PackageCommandFilter::PackageCommandFilter(Package& package, platform::View& view)
    : package_(package), view_(view) {}

PackageCommandFilter::~PackageCommandFilter() {
  Leave();
}

void PackageCommandFilter::Join() {
  if (next_ == nullptr) next_ = view_.Filters().AddCommandFilter(this);
}

void PackageCommandFilter::Leave() {
  if (next_ == nullptr) return;
  view_.Filters().RemoveCommandFilter(this);
  next_ = nullptr;
}

void PackageCommandFilter::Rejoin() {
  Leave();
  Join();
}

bool PackageCommandFilter::Intercepting() const {
  return package_.Engine().Enabled() && package_.IsEligible(view_) && !host_modal_ && !suspended_;
}

CommandStatus PackageCommandFilter::QueryStatus(const EditorCommand& command) {
  if (Intercepting()) {
    const bool insert = package_.Engine().Mode() == EngineMode::kInsert;
    // Outside insert mode the engine reads Return and Backspace as commands of its own: the
    // host does not offer them, so their keys reach the window and the engine.
    if (IsStd2K(command, platform::cmd2k::kReturn) && !insert && language_return_ &&
        !package_.InEngineKey()) {
      return CommandStatus::kUnsupported;
    }
    if (IsStd2K(command, platform::cmd2k::kBackspace) && !insert) {
      return CommandStatus::kUnsupported;
    }
    if (command.group == CommandGroup::kEditorExtra && command.id == platform::cmd_extra::kCtrlU &&
        package_.GetSettings().GetBool(SettingId::kFixUpUndocCtrlU)) {
      return CommandStatus::kUnsupported;
    }
  }
  return next_ == nullptr ? CommandStatus::kUnsupported : next_->QueryStatus(command);
}

std::optional<KeyCode> PackageCommandFilter::KeyToFeed(const EditorCommand& command) const {
  // The engine running the host's line break, or a key message the package's window procedure
  // is handling, already went through the engine.
  if (in_message_ > 0 || package_.InEngineKey()) return std::nullopt;
  if (std::optional<KeyCode> key = KeyOfEditorCommand(command)) return key;
  if (IsStd2K(command, platform::cmd2k::kReturn)) return KeyCode::Char(ch::kReturn);
  // Typed characters come through the window once it is subclassed.
  if (IsStd2K(command, platform::cmd2k::kTypeChar) && !fully_attached_ && command.typed != 0) {
    const char16_t c = command.typed;
    return KeyCode::Char(c, c >= u'A' && c <= u'Z' ? key_mod::kShift : 0);
  }
  return std::nullopt;
}

// A host modal input ended: after the incremental search the engine starts afresh in normal
// mode; a character code accepted with Return leaves the user typing text.
void PackageCommandFilter::EndHostModal(bool by_return) {
  const uint32_t started = *host_modal_;
  host_modal_.reset();
  AttachedView* attached = package_.Attachment(view_);
  if (attached == nullptr || !package_.Engine().Enabled()) return;
  if (started == platform::cmd2k::kIncrementalSearch) {
    package_.Engine().ResetToNormal(attached);
  } else if (by_return) {
    package_.Engine().EnterInsertAtCaret(*attached);
  }
  package_.UpdateStatusBar();
}

HResult PackageCommandFilter::Exec(const EditorCommand& command) {
  if (next_ == nullptr) return HResult::kUnexpected;
  platform::CommandTarget* next = next_;
  const std::shared_ptr<const bool> alive = view_.LifeToken();
  if (IsStd2K(command, platform::cmd2k::kIncrementalSearch) ||
      IsStd2K(command, platform::cmd2k::kSecondModalInput)) {
    host_modal_ = command.id;
    return next->Exec(command);
  }
  if (host_modal_) {
    const bool by_return =
        IsStd2K(command, platform::cmd2k::kReturn) ||
        (IsStd2K(command, platform::cmd2k::kTypeChar) && command.typed == ch::kReturn);
    if (by_return || IsStd2K(command, platform::cmd2k::kCancel)) {
      const HResult result = next->Exec(command);
      if (*alive) EndHostModal(by_return);
      return result;
    }
  }
  const bool enabled = package_.Engine().Enabled() && package_.IsEligible(view_);
  if (enabled && !in_message_) package_.FollowSuspension(view_);
  if (!*alive) return HResult::kOk;
  if (enabled && package_.GetSettings().RemoveReadOnly()) view_.Buffer().SetReadOnly(false);
  if (Intercepting()) {
    if (const std::optional<KeyCode> key = KeyToFeed(command)) {
      if (!fully_attached_ && full_attach_) full_attach_();
      if (package_.FeedCommandKey(view_, *key)) return HResult::kOk;
      if (!*alive) return HResult::kOk;
      // The engine left the key to the host: the host carries out the command, and the engine
      // then takes in where the caret went.
      const HResult result = next->Exec(command);
      if (*alive) package_.AfterHostCommand(view_);
      return result;
    }
  }
  return next->Exec(command);
}

}  // namespace tavik::host
