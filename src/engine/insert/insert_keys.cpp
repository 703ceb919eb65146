// The insert-mode key step: a CTRL-V code or a register name being typed, the special keys, and
// the control keys, each with its handler in one table.
#include <algorithm>

#include "common/char_class.h"
#include "common/utf16_chars.h"
#include "engine/insert/insert_mode.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"

namespace tavik {
namespace {

struct MovementKey {
  uint32_t virtual_key;
  InsertOpType op;
};

constexpr MovementKey kMovementKeys[] = {
    {vk::kUp, InsertOpType::kUp},         {vk::kDown, InsertOpType::kDown},
    {vk::kLeft, InsertOpType::kLeft},     {vk::kRight, InsertOpType::kRight},
    {vk::kHome, InsertOpType::kHome},     {vk::kEnd, InsertOpType::kEnd},
    {vk::kPageUp, InsertOpType::kPageUp}, {vk::kPageDown, InsertOpType::kPageDown},
};

}  // namespace

// What the handlers of one key share.
struct InsertMode::KeyStep {
  ViewEngine& engine;
  TextView& text;
  bool host_may_type;
  bool replace;
  InsertKeyResult result;
};

const InsertMode::ControlKey InsertMode::kControlKeys[] = {
    {ch::kCtrlR, &InsertMode::KeyRegister},        {ch::kCtrlV, &InsertMode::KeyLiteral},
    {ch::kReturn, &InsertMode::KeyReturn},         {ch::kBackspace, &InsertMode::KeyBackspace},
    {ch::kCtrlN, &InsertMode::KeyComplete},        {ch::kCtrlP, &InsertMode::KeyComplete},
    {ch::kLineFeed, &InsertMode::KeyHostComplete}, {ch::kCtrlT, &InsertMode::KeyIndent},
    {ch::kCtrlD, &InsertMode::KeyUnindent},        {ch::kCtrlU, &InsertMode::KeyDeleteToStart},
    {ch::kCtrlW, &InsertMode::KeyDeleteWord},      {ch::kCtrlY, &InsertMode::KeyCopyAdjacent},
    {ch::kCtrlE, &InsertMode::KeyCopyAdjacent},
};

InsertKeyResult InsertMode::HandleKey(ViewEngine& engine, TextView& text, KeyCode key,
                                      bool host_may_type) {
  SettleHostKey(text);
  TakeInsertStart(text);
  InsertKeyResult result = HandleKeyStep(engine, text, key, host_may_type);
  // A key the host types is settled before the next one; that notes the caret then.
  if (!result.pass_to_host) NoteCaretLeft(text);
  return result;
}

InsertKeyResult InsertMode::HandleKeyStep(ViewEngine& engine, TextView& text, KeyCode key,
                                          bool host_may_type) {
  if (completion_active_ && HandleCompletionKey(engine, text, key)) return {};
  KeyStep step{engine, text, host_may_type, engine.ReplaceFlag(), {}};
  if (literal_.Active()) {
    LiteralKey(step, key);
  } else if (register_pending_) {
    RegisterNameKey(step, key);
  } else if (key.IsSpecial()) {
    SpecialKey(step, key);
  } else if (key.IsChar()) {
    CharKey(step, key);
  }
  return step.result;
}

void InsertMode::Perform(KeyStep& step, InsertOpType type, char16_t c) {
  PerformInsertOp(step.engine, step.text, record_, {type, c});
}

// Keys the host types as text; the record follows what it did.
void InsertMode::TypeOrPass(KeyStep& step, InsertOpType type, char16_t c) {
  const bool overwrite = step.replace && type == InsertOpType::kInsertChar;
  if (step.host_may_type && !overwrite) {
    WatchHostKey(step.text, false, type);
    step.result.pass_to_host = true;
  } else {
    Perform(step, overwrite ? InsertOpType::kOverwriteChar : type, c);
  }
}

void InsertMode::LiteralKey(KeyStep& step, KeyCode key) {
  LiteralOutcome literal = literal_.Take(key);
  if (!literal.done) return;
  if (literal.invalid) {
    step.engine.SetMessage(u"Invalid character code");
    step.result.beep = true;
  }
  for (char16_t unit : literal.text) {
    Perform(step, step.replace ? InsertOpType::kOverwriteChar : InsertOpType::kInsertChar, unit);
  }
  step.result.again = literal.again;
}

void InsertMode::RegisterNameKey(KeyStep& step, KeyCode key) {
  register_pending_ = false;
  if (!key.IsChar() || !step.engine.Registers().Read(static_cast<char16_t>(key.code))) {
    step.result.beep = true;
    return;
  }
  Perform(step, step.replace ? InsertOpType::kOverwriteRegister : InsertOpType::kInsertRegister,
          static_cast<char16_t>(key.code));
}

void InsertMode::SpecialKey(KeyStep& step, KeyCode key) {
  if (key.flags == 0 && key.code == vk::kInsert) {
    step.engine.SetReplaceFlag(!step.replace);
    return;
  }
  if (key.flags == 0 && key.code == vk::kDelete) {
    if (step.host_may_type) {
      WatchHostKey(step.text, false, InsertOpType::kDelete);
      step.result.pass_to_host = true;
    } else {
      Perform(step, InsertOpType::kDelete);
    }
    return;
  }
  if (key.flags == 0) {
    for (const MovementKey& row : kMovementKeys) {
      if (row.virtual_key != key.code) continue;
      if (step.host_may_type) {
        WatchHostKey(step.text, true, row.op);
        step.result.pass_to_host = true;
      } else {
        Perform(step, row.op);
        insert_start_ = step.text.GetCaret();
      }
      return;
    }
  }
  // Function keys and keys with modifiers belong to the host.
  if (step.host_may_type) {
    WatchHostKey(step.text, false, InsertOpType::kInsertChar);
    step.result.pass_to_host = true;
  }
}

void InsertMode::CharKey(KeyStep& step, KeyCode key) {
  const auto c = static_cast<char16_t>(key.code);
  for (const ControlKey& row : kControlKeys) {
    if (row.key == c) {
      (this->*row.handle)(step, c);
      return;
    }
  }
  bool printable = c == ch::kTab || (c >= 0x20 && c != 0x7F);
  bool host_only = key.Has(key_mod::kCtrl) || key.Has(key_mod::kAlt) || !printable ||
                   (c == ch::kTab && key.Has(key_mod::kShift));
  if (host_only) {
    if (step.host_may_type) {
      WatchHostKey(step.text, false, InsertOpType::kInsertChar);
      step.result.pass_to_host = true;
    }
    return;
  }
  TypeOrPass(step, InsertOpType::kInsertChar, c);
}

void InsertMode::KeyRegister(KeyStep&, char16_t) {
  register_pending_ = true;
}

void InsertMode::KeyLiteral(KeyStep&, char16_t) {
  literal_.Start();
}

void InsertMode::KeyReturn(KeyStep& step, char16_t) {
  TypeOrPass(step, InsertOpType::kNewLine, 0);
}

void InsertMode::KeyBackspace(KeyStep& step, char16_t) {
  TypeOrPass(step, InsertOpType::kBackspace, 0);
}

void InsertMode::KeyComplete(KeyStep& step, char16_t key) {
  StartCompletion(step.text, key == ch::kCtrlN);
  if (completion_active_) ReplaceWordBefore(step.engine, step.text, candidates_[candidate_index_]);
}

void InsertMode::KeyHostComplete(KeyStep& step, char16_t) {
  if (!step.host_may_type) return;
  step.text.ExecuteHostCommand(u"Edit.CompleteWord");
  // The host's edit is the insertion's: its undo step must close when insert mode ends.
  step.text.MarkModified();
  step.text.RefreshFromHost(true);
}

void InsertMode::KeyIndent(KeyStep& step, char16_t) {
  Perform(step, InsertOpType::kIndent);
}

void InsertMode::KeyUnindent(KeyStep& step, char16_t) {
  Perform(step, InsertOpType::kUnindent);
}

void InsertMode::KeyDeleteToStart(KeyStep& step, char16_t) {
  TextView& text = step.text;
  TextPos caret = text.GetCaret();
  if (insert_start_ < caret) {
    // Each Backspace moves the caret back by one position, so this ends at the start.
    while (insert_start_ < text.GetCaret()) {
      TextPos at = text.GetCaret();
      Perform(step, InsertOpType::kBackspace);
      if (text.GetCaret() == at) break;
    }
    record_.ops.clear();  // "." repeats only what is typed after this
  } else if (caret.column == 0) {
    step.result.beep = true;  // the line break was not typed in this insert
  } else {
    // One Backspace a character, up to the line's start.
    while (text.GetCaret().column > 0) {
      TextPos at = text.GetCaret();
      Perform(step, InsertOpType::kBackspace);
      if (text.GetCaret() == at) break;
    }
  }
}

void InsertMode::KeyDeleteWord(KeyStep& step, char16_t) {
  TextView& text = step.text;
  TextPos caret = text.GetCaret();
  if (caret.column == 0) {
    // Only a line break typed in this insert is taken back.
    if (insert_start_ < caret) {
      Perform(step, InsertOpType::kBackspace);
    } else {
      step.result.beep = true;
    }
    return;
  }
  std::u16string_view line = text.LineText(caret.line);
  uint32_t start = std::min<uint32_t>(caret.column, static_cast<uint32_t>(line.size()));
  // Each Backspace takes one character, so the characters are counted, not the units.
  uint32_t count = 0;
  auto class_before = [&](uint32_t column) {
    return ClassOfCodePoint(CodePointAt(line, column - 1));
  };
  while (start > 0 && class_before(start) == CharClass::kBlank)
    start = PrevCharColumn(line, start), ++count;
  if (start > 0) {
    CharClass cls = class_before(start);
    while (start > 0 && class_before(start) == cls) start = PrevCharColumn(line, start), ++count;
  }
  for (uint32_t i = 0; i < count; ++i) Perform(step, InsertOpType::kBackspace);
}

// CTRL-Y and CTRL-E: the character in the caret's column on the line above or below.
void InsertMode::KeyCopyAdjacent(KeyStep& step, char16_t key) {
  TextView& text = step.text;
  TextPos caret = text.GetCaret();
  ViewPos here = text.BufferToView(caret);
  bool above = key == ch::kCtrlY;
  if (above ? here.line == 0 : here.line + 1 >= text.ViewLineCount()) return;
  TextPos other = text.ViewToBuffer({above ? here.line - 1 : here.line + 1, 0});
  std::u16string_view line = text.LineText(other.line);
  if (caret.column >= line.size()) return;
  // A pair is copied whole.
  const uint32_t start = CharStartColumn(line, caret.column);
  const std::u16string taken(line.substr(start, CharUnitsAt(line, start)));
  for (char16_t unit : taken) {
    Perform(step, step.replace ? InsertOpType::kOverwriteChar : InsertOpType::kInsertChar, unit);
  }
}

}  // namespace tavik
