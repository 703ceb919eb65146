// Motion code → handler, one row per code that has a handler: the cursor motions, searches, marks,
// gd and the text objects. A code without a row leaves the cursor where it is.
#include "engine/motions/motion_table.h"

#include <array>

#include "engine/motions/motion_codes.h"
#include "engine/motions/motions.h"
#include "engine/motions/text_objects.h"

namespace tavik {
namespace {

using namespace motion;

struct MotionRow {
  MotionCode code;
  MotionHandler handler;
};

// Rows whose motions share one handler, told apart by the row's data.
template <MotionCode kCode>
void CharSearch(MotionContext& context, MotionResult& result) {
  motions::CharSearch(context, result, kCode);
}
template <char16_t kWanted, char16_t kOther, bool kForward>
void Unmatched(MotionContext& context, MotionResult& result) {
  motions::Unmatched(context, result, kWanted, kOther, kForward);
}
template <char16_t kOpen, char16_t kClose, bool kAround>
void Block(MotionContext& context, MotionResult& result) {
  motions::BlockObject(context, result, kOpen, kClose, kAround);
}
template <char16_t kQuote, bool kAround>
void Quote(MotionContext& context, MotionResult& result) {
  motions::QuoteObject(context, result, kQuote, kAround);
}

constexpr MotionRow kMotionRows[] = {
    {kWordForward, motions::WordForward},
    {kBigWordForward, motions::BigWordForward},
    {kWordBackward, motions::WordBackward},
    {kBigWordBackward, motions::BigWordBackward},
    {kWordEnd, motions::WordEnd},
    {kBigWordEnd, motions::BigWordEnd},
    {kPreviousWordEnd, motions::PreviousWordEnd},
    {kPreviousBigWordEnd, motions::PreviousBigWordEnd},
    {kTillForward, CharSearch<kTillForward>},
    {kTillBackward, CharSearch<kTillBackward>},
    {kFindForward, CharSearch<kFindForward>},
    {kFindBackward, CharSearch<kFindBackward>},
    {kRepeatCharSearch, motions::RepeatCharSearch},
    {kRepeatCharSearchReverse, motions::RepeatCharSearchReverse},
    {kLeft, motions::Left},
    {kDown, motions::Down},
    {kUp, motions::Up},
    {kRight, motions::Right},
    {kWindowTop, motions::WindowTop},
    {kWindowMiddle, motions::WindowMiddle},
    {kWindowBottom, motions::WindowBottom},
    {kLineStart, motions::LineStart},
    {kFirstNonBlank, motions::FirstNonBlank},
    {kLineEnd, motions::LineEnd},
    {kMarkExact, motions::MarkExact},
    {kMarkLine, motions::MarkLine},
    {kFirstLine, motions::FirstLine},
    {kLastLine, motions::LastLineMotion},
    {kMatch, motions::Match},
    {kCurrentLines, motions::CountLines},
    {kHalfPageDown, motions::HalfPageDown},
    {kHalfPageUp, motions::HalfPageUp},
    {kPageDown, motions::PageDown},
    {kPageUp, motions::PageUp},
    {kSentenceBackward, motions::SentenceBackward},
    {kSentenceForward, motions::SentenceForward},
    {kParagraphBackward, motions::ParagraphBackward},
    {kParagraphForward, motions::ParagraphForward},
    {kSectionBackward, motions::SectionBackward},
    {kSectionForward, motions::SectionForward},
    {kSectionEndBackward, motions::SectionEndBackward},
    {kSectionEndForward, motions::SectionEndForward},
    {kUnmatchedParenBackward, Unmatched<u'(', u')', false>},
    {kUnmatchedParenForward, Unmatched<u')', u'(', true>},
    {kUnmatchedBraceBackward, Unmatched<u'{', u'}', false>},
    {kUnmatchedBraceForward, Unmatched<u'}', u'{', true>},
    {kPreviousLine, motions::PreviousLine},
    {kNextLine, motions::NextLine},
    {kCountLines, motions::CountLines},
    {kBackspace, motions::Backspace},
    {kSpace, motions::Space},
    {kVisualRepeatCharacter, motions::VisualRepeatCharacter},
    {kVisualRepeatLine, motions::VisualRepeatLine},
    {kVisualRepeatBlock, motions::VisualRepeatBlock},
    {kColumn, motions::ToColumn},
    {kInnerWord, motions::InnerWord},
    {kAWord, motions::AWord},
    {kInnerBigWord, motions::InnerBigWord},
    {kABigWord, motions::ABigWord},
    {kInnerParagraph, motions::InnerParagraph},
    {kAParagraph, motions::AParagraph},
    {kInnerParenBlock, Block<u'(', u')', false>},
    {kAParenBlock, Block<u'(', u')', true>},
    {kInnerBraceBlock, Block<u'{', u'}', false>},
    {kABraceBlock, Block<u'{', u'}', true>},
    {kInnerAngleBlock, Block<u'<', u'>', false>},
    {kAnAngleBlock, Block<u'<', u'>', true>},
    {kInnerSquareBlock, Block<u'[', u']', false>},
    {kASquareBlock, Block<u'[', u']', true>},
    {kInnerSingleQuote, Quote<u'\'', false>},
    {kASingleQuote, Quote<u'\'', true>},
    {kInnerDoubleQuote, Quote<u'"', false>},
    {kADoubleQuote, Quote<u'"', true>},
    {kInnerSentence, motions::InnerSentence},
    {kASentence, motions::ASentence},
    {kInnerTag, motions::InnerTag},
    {kATag, motions::ATag},
    {kSearchTyped, motions::SearchTyped},
    {kSearchNext, motions::SearchNext},
    {kSearchPrevious, motions::SearchPrevious},
    {kSearchWordForward, motions::SearchWordForward},
    {kSearchWordBackward, motions::SearchWordBackward},
    {kGoToDeclaration, motions::GoToDeclaration},
};

// The rows indexed by code, so a lookup is one array access.
constexpr auto kHandlerByCode = [] {
  std::array<MotionHandler, kMaxMotionCode + 1> handlers{};
  for (const MotionRow& row : kMotionRows) handlers[row.code] = row.handler;
  return handlers;
}();

constexpr bool NoCodeTwice() {
  for (size_t i = 0; i < std::size(kMotionRows); ++i) {
    for (size_t j = i + 1; j < std::size(kMotionRows); ++j) {
      if (kMotionRows[i].code == kMotionRows[j].code) return false;
    }
  }
  return true;
}
static_assert(NoCodeTwice(), "a motion code has two rows");

}  // namespace

MotionHandler MotionHandlerFor(MotionCode code) {
  return code <= kMaxMotionCode ? kHandlerByCode[code] : nullptr;
}

}  // namespace tavik
