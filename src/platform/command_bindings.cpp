// The host's command collection and its key bindings.
#include "platform/command_bindings.h"

#include "platform/registry_store.h"

namespace tavik::platform {

CommandBindings::CommandBindings() = default;

void CommandBindings::Persist(RegistryStore* registry, std::string key) {
  registry_ = registry;
  key_ = std::move(key);
}

const BoundCommand* CommandBindings::Find(std::u16string_view name) const {
  for (const BoundCommand& command : commands_) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

bool CommandBindings::SetBindings(std::u16string_view, std::vector<std::u16string>) {
  return false;
}

BindingMatch CommandBindings::Press(KeyStroke) {
  return {};
}

}  // namespace tavik::platform
