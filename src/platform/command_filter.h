// A view's command-filter chain: editor commands enter at the head and travel from filter to
// filter down to the view's own editor at the tail. A filter joins at the head and is handed
// the target after it; that target follows the chain as other filters come and go, so a filter
// never calls one that has left.
#pragma once

#include <memory>
#include <vector>

#include "platform/command_target.h"

namespace tavik::platform {

class CommandFilterChain {
 public:
  CommandFilterChain();
  ~CommandFilterChain();
  CommandFilterChain(const CommandFilterChain&) = delete;
  CommandFilterChain& operator=(const CommandFilterChain&) = delete;

  // Puts the filter at the head; returns the target it passes commands on to, or nullptr when
  // the filter is null or already in the chain. The target stays valid as long as the chain.
  CommandTarget* AddCommandFilter(CommandTarget* filter);
  // Takes the filter out; false when it was not in the chain.
  bool RemoveCommandFilter(CommandTarget* filter);
  bool Contains(const CommandTarget* filter) const;
  // Head first.
  const std::vector<CommandTarget*>& Filters() const { return filters_; }

  // The view's own editor, the last target.
  void SetEditor(std::unique_ptr<CommandTarget> editor) { editor_ = std::move(editor); }
  CommandTarget* Editor() const { return editor_.get(); }

  // A command sent to the view: the head of the chain gets it first.
  CommandStatus QueryStatus(const EditorCommand& command);
  HResult Exec(const EditorCommand& command);

 private:
  class Link;
  // What comes after the filter now: the next filter, or the editor once it is last or gone.
  CommandTarget* After(const CommandTarget* filter) const;

  std::vector<CommandTarget*> filters_;
  std::vector<std::unique_ptr<Link>> links_;  // one per filter that ever joined
  std::unique_ptr<CommandTarget> editor_;
};

}  // namespace tavik::platform
