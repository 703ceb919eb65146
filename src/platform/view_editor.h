// The host's own editor of a view, the last target of the view's command-filter chain: it
// carries out the editor commands (typing, Return, Backspace, Tab, Delete, caret movement with
// and without extending the selection, page keys, scrolling, Cancel, overtype) and runs the
// host's modal inputs (incremental search, character-code input).
#pragma once

#include <memory>
#include <optional>

#include "platform/command_target.h"
#include "platform/host_modal_input.h"

namespace tavik::platform {

class EditorHost;
class View;

class ViewEditor final : public CommandTarget {
 public:
  ViewEditor(EditorHost& host, View& view);
  ~ViewEditor() override;

  CommandStatus QueryStatus(const EditorCommand& command) override;
  HResult Exec(const EditorCommand& command) override;

  bool Overtype() const { return overtype_; }
  // The modal input running in the view, if any.
  const HostModalInput* ModalInput() const { return modal_.get(); }

 private:
  // A command while a modal input runs; false when the command is not the input's and should
  // run as usual (the input then ended, accepted).
  bool ModalCommand(const EditorCommand& command);
  bool Move(uint32_t id);
  bool Edit(const EditorCommand& command);
  void TypeText(char16_t c);

  EditorHost& host_;
  View& view_;
  bool overtype_ = false;
  std::unique_ptr<HostModalInput> modal_;
};

}  // namespace tavik::platform
