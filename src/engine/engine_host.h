// The platform services the engine uses beside the TextView of a view: the output pane and the
// host's dialogs. The host package implements them; tests and batch mode answer the dialogs.
#pragma once

#include <string_view>

#include "common/text_pos.h"

namespace tavik {

struct AttachedView;

enum class ConfirmAnswer : uint8_t { kYes, kNo, kAll, kQuit, kLast };

class EngineHost {
 public:
  virtual ~EngineHost() = default;
  // Appends one line to the package's output pane.
  virtual void WriteOutput(std::u16string_view line) = 0;
  // A yes/no question in a message box with the given caption; true for yes.
  virtual bool AskYesNo(std::u16string_view question, std::u16string_view caption) = 0;
  // The substitute confirmation for one match.
  virtual ConfirmAnswer AskConfirm(std::u16string_view question) = 0;
  // Opens or activates the document of a file and puts its caret at a position; false when the
  // file cannot be opened.
  virtual bool SwitchToDocument(std::u16string_view file, TextPos pos) = 0;
  // The attached view that has the keyboard focus, after a host command changed it; nullptr when
  // no view has it.
  virtual AttachedView* FocusedView() { return nullptr; }
};

}  // namespace tavik
