// The command-filter chain of a view.
#include "platform/command_filter.h"

#include <algorithm>

namespace tavik::platform {

// The target a filter was handed: whatever comes after the filter at the time of the call.
class CommandFilterChain::Link final : public CommandTarget {
 public:
  Link(const CommandFilterChain& chain, const CommandTarget* filter)
      : chain_(chain), filter_(filter) {}
  const CommandTarget* Filter() const { return filter_; }

  CommandStatus QueryStatus(const EditorCommand& command) override {
    CommandTarget* next = chain_.After(filter_);
    return next == nullptr ? CommandStatus::kUnsupported : next->QueryStatus(command);
  }
  HResult Exec(const EditorCommand& command) override {
    CommandTarget* next = chain_.After(filter_);
    return next == nullptr ? HResult::kUnsupported : next->Exec(command);
  }

 private:
  const CommandFilterChain& chain_;
  const CommandTarget* filter_;
};

CommandFilterChain::CommandFilterChain() = default;
CommandFilterChain::~CommandFilterChain() = default;

CommandTarget* CommandFilterChain::AddCommandFilter(CommandTarget* filter) {
  if (filter == nullptr || Contains(filter)) return nullptr;
  filters_.insert(filters_.begin(), filter);
  for (const auto& link : links_) {
    if (link->Filter() == filter) return link.get();
  }
  links_.push_back(std::make_unique<Link>(*this, filter));
  return links_.back().get();
}

bool CommandFilterChain::RemoveCommandFilter(CommandTarget* filter) {
  const auto it = std::find(filters_.begin(), filters_.end(), filter);
  if (it == filters_.end()) return false;
  filters_.erase(it);
  return true;
}

bool CommandFilterChain::Contains(const CommandTarget* filter) const {
  return std::find(filters_.begin(), filters_.end(), filter) != filters_.end();
}

CommandTarget* CommandFilterChain::After(const CommandTarget* filter) const {
  const auto it = std::find(filters_.begin(), filters_.end(), filter);
  if (it != filters_.end() && it + 1 != filters_.end()) return *(it + 1);
  return editor_.get();
}

CommandStatus CommandFilterChain::QueryStatus(const EditorCommand& command) {
  CommandTarget* head = filters_.empty() ? editor_.get() : filters_.front();
  return head == nullptr ? CommandStatus::kUnsupported : head->QueryStatus(command);
}

HResult CommandFilterChain::Exec(const EditorCommand& command) {
  CommandTarget* head = filters_.empty() ? editor_.get() : filters_.front();
  return head == nullptr ? HResult::kUnsupported : head->Exec(command);
}

}  // namespace tavik::platform
