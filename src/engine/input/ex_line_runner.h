// The ex command line as the engine reaches it. The ex commands are built on the engine, so the
// engine cannot call them by name: whoever builds an engine together with them installs them
// through this interface (ViewEngine::SetExLine). Without one, ":" lines and "&" do nothing.
#pragma once

#include <string_view>

namespace tavik {

struct ActionContext;

class ExLineRunner {
 public:
  virtual ~ExLineRunner() = default;
  // Return on a ":" line: runs the typed text in the context's view, from its caret.
  virtual void RunLine(ActionContext& context, std::u16string_view line) = 0;
  // Normal-mode "&": the last substitution again on the caret's line, without its flags.
  virtual void RepeatSubstitution(ActionContext& context) = 0;
};

}  // namespace tavik
