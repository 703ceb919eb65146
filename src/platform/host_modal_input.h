// The host editor's own modal inputs, which own the keyboard of a view until Return or Cancel:
// the incremental search (typed characters search forward from where it started and select the
// match) and the character-code input (typed hexadecimal digits name a character that Return
// inserts at the caret, after which an editor user goes on typing text). Both show what was
// typed on the status line.
#pragma once

#include <cstdint>
#include <string>

#include "common/text_pos.h"

namespace tavik::platform {

class EditorHost;
class View;

class HostModalInput {
 public:
  enum class Kind : uint8_t { kIncrementalSearch, kCharacterCode };

  HostModalInput(EditorHost& host, View& view, Kind kind);
  Kind GetKind() const { return kind_; }
  const std::u16string& Typed() const { return typed_; }

  void Type(char16_t c);
  void Erase();
  // The incremental search's next match after the current one.
  void Next();
  // Return: a search keeps its match selected; a character code is inserted.
  void Accept();
  // Cancel: a search puts the caret back where it started.
  void Cancel();

 private:
  void Search(TextPos from);
  void Show(std::u16string_view suffix = {});

  EditorHost& host_;
  View& view_;
  Kind kind_;
  std::u16string typed_;
  TextPos origin_;
  bool found_ = true;
};

}  // namespace tavik::platform
