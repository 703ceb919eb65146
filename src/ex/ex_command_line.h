// The ex commands as an engine's ex command line: whoever builds an engine with them (the
// package, test set-ups) keeps one and installs it with ViewEngine::SetExLine.
#pragma once

#include <string_view>

#include "engine/input/ex_line_runner.h"

namespace tavik {

class ExCommandLine final : public ExLineRunner {
 public:
  void RunLine(ActionContext& context, std::u16string_view line) override;
  void RepeatSubstitution(ActionContext& context) override;
};

}  // namespace tavik
