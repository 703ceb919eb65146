// Modal questions put to the user: yes/no, the substitute confirmation and a line of text.
// Answers come from a pluggable answerer, so a terminal front end asks the user and batch mode
// answers from its command line; without an answerer every question is answered "no" (or
// "quit"), and a line of text is not given.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tavik::platform {

enum class YesNoAnswer { kYes, kNo };
enum class ConfirmAnswer { kYes, kNo, kAll, kQuit, kLast };

class Dialogs {
 public:
  using YesNoAnswerer = std::function<YesNoAnswer(std::u16string_view question)>;
  using ConfirmAnswerer = std::function<ConfirmAnswer(std::u16string_view prompt)>;
  // A line of text typed in answer to a prompt ("Find: "); nothing when the user cancelled.
  using TextAnswerer = std::function<std::optional<std::u16string>(std::u16string_view prompt)>;

  void SetYesNoAnswerer(YesNoAnswerer answerer) { yes_no_ = std::move(answerer); }
  void SetConfirmAnswerer(ConfirmAnswerer answerer) { confirm_ = std::move(answerer); }
  void SetTextAnswerer(TextAnswerer answerer) { text_ = std::move(answerer); }

  YesNoAnswer AskYesNo(std::u16string_view question) {
    ++asked_;
    return yes_no_ ? yes_no_(question) : YesNoAnswer::kNo;
  }
  ConfirmAnswer AskConfirm(std::u16string_view prompt) {
    ++asked_;
    return confirm_ ? confirm_(prompt) : ConfirmAnswer::kQuit;
  }
  std::optional<std::u16string> AskText(std::u16string_view prompt) {
    ++asked_;
    return text_ ? text_(prompt) : std::nullopt;
  }
  int AskedCount() const { return asked_; }

 private:
  YesNoAnswerer yes_no_;
  ConfirmAnswerer confirm_;
  TextAnswerer text_;
  int asked_ = 0;
};

}  // namespace tavik::platform
