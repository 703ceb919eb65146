// Window messages of the host: sending a message through a view's procedure chain, key presses
// from the keyboard driver, focus messages, timer messages, and buffers without a document.
#include "platform/editor_host.h"

namespace tavik::platform {

uint64_t InputMethod::GetContext(const View& view) {
  return view.Id();
}

intptr_t EditorHost::SendMessage(View& view, const WindowMessage& message) {
  // A procedure may subclass the window while it runs: call a copy, not the one being replaced.
  const WindowProcedure procedure = view.GetWindowProcedure();
  if (procedure) return procedure(view, message);
  return DefaultWindowProcedure(view, message);
}

bool EditorHost::PressKey(const KeyPress& press) {
  SyncFocus();
  View* view = FocusedView();
  if (view == nullptr) return false;
  // The messages of one press go to the window that had the focus at key-down; a key that
  // closes it loses the rest.
  std::shared_ptr<const bool> alive = view->LifeToken();
  keyboard_.Press(press, [this, view, &alive](const WindowMessage& message) {
    if (*alive) SendMessage(*view, message);
  });
  SyncFocus();
  return true;
}

void EditorHost::SyncFocus() {
  View* focused = FocusedView();
  const uint64_t id = focused == nullptr ? 0 : focused->Id();
  if (id == focus_sent_to_) return;
  const uint64_t before = focus_sent_to_;
  focus_sent_to_ = id;
  if (View* old = FindView(before)) SendMessage(*old, {wm::kKillFocus, 0, 0});
  // The kill-focus message may have moved the focus again: the next sync sends that.
  if (focused != nullptr && FindView(id) == focused) SendMessage(*focused, {wm::kSetFocus, 0, 0});
}

bool EditorHost::FireTimer(View& view) {
  bool fired = view.Timer().FireIfDue(true);
  std::shared_ptr<const bool> alive = view.LifeToken();
  for (uint32_t id : view.TakeDueWindowTimers(true)) {
    if (!*alive) break;
    SendMessage(view, {wm::kTimer, id, 0});
    fired = true;
  }
  return fired;
}

Document* EditorHost::OpenToolBuffer(std::u16string_view text, std::u16string name,
                                     std::u16string language) {
  auto doc = std::make_unique<Document>(text);
  doc->tool_buffer = true;
  doc->untitled_name = std::move(name);
  doc->language = std::move(language);
  return AddDocument(std::move(doc));
}

}  // namespace tavik::platform
