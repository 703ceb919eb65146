// The host editor's command collection and keyboard scheme, as the clash manager reaches them.
#pragma once

#include <cassert>

#include "host/keyboard_clashes.h"
#include "platform/command_bindings.h"

namespace tavik::host {

class HostKeyboardCommands final : public KeyboardCommands {
 public:
  explicit HostKeyboardCommands(platform::CommandBindings& bindings) : bindings_(bindings) {}

  size_t Count() const override { return bindings_.Commands().size(); }
  std::u16string Name(size_t index) const override { return At(index).name; }
  std::optional<std::vector<std::u16string>> Bindings(size_t index) const override {
    return At(index).bindings;
  }
  bool SetBindings(size_t index, std::span<const std::u16string> bindings) override {
    return bindings_.SetBindings(At(index).name,
                                 std::vector<std::u16string>(bindings.begin(), bindings.end()));
  }
  std::optional<std::u16string> Scheme() const override { return bindings_.Scheme(); }
  bool SetScheme(std::u16string_view path) override {
    return bindings_.SetScheme(std::u16string(path));
  }

 private:
  const platform::BoundCommand& At(size_t index) const {
    assert(index >= 1 && index <= Count());
    return bindings_.Commands()[index - 1];
  }

  platform::CommandBindings& bindings_;
};

}  // namespace tavik::host
