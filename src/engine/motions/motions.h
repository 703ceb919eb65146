// The motion handlers that the rows of the motion table name, family by family, with the
// searches some of them share with text objects and visual mode.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "common/text_pos.h"
#include "engine/motions/motion.h"

namespace tavik::motions {

// Character and line steps: h, l, j, k, Backspace, Space and their key aliases.
void Left(MotionContext& context, MotionResult& result);
void Right(MotionContext& context, MotionResult& result);
void Down(MotionContext& context, MotionResult& result);
void Up(MotionContext& context, MotionResult& result);
void Backspace(MotionContext& context, MotionResult& result);
void Space(MotionContext& context, MotionResult& result);

// Word motions: w, W, b, B, e, E, ge and gE. A word is a run of word characters or a run of
// other non-blank characters; a WORD is any run of non-blank characters.
void WordForward(MotionContext& context, MotionResult& result);
void BigWordForward(MotionContext& context, MotionResult& result);
void WordBackward(MotionContext& context, MotionResult& result);
void BigWordBackward(MotionContext& context, MotionResult& result);
void WordEnd(MotionContext& context, MotionResult& result);
void BigWordEnd(MotionContext& context, MotionResult& result);
void PreviousWordEnd(MotionContext& context, MotionResult& result);
void PreviousBigWordEnd(MotionContext& context, MotionResult& result);

// Positions within the cursor line: 0, ^, $, their g forms, and |.
void LineStart(MotionContext& context, MotionResult& result);
void FirstNonBlank(MotionContext& context, MotionResult& result);
void LineEnd(MotionContext& context, MotionResult& result);
void ToColumn(MotionContext& context, MotionResult& result);

// Motions to the first non-blank character of another line: -, +, _, the doubled operator,
// gg, G and % with a count.
void PreviousLine(MotionContext& context, MotionResult& result);
void NextLine(MotionContext& context, MotionResult& result);
void CountLines(MotionContext& context, MotionResult& result);
void FirstLine(MotionContext& context, MotionResult& result);
void LastLineMotion(MotionContext& context, MotionResult& result);
// % with a count: that percentage of the buffer. Called by the % motion.
void Percentage(MotionContext& context, MotionResult& result);

// Motions relative to the lines the view shows: H, M, L and the scrolling motions CTRL-D,
// CTRL-U, CTRL-F and CTRL-B.
void WindowTop(MotionContext& context, MotionResult& result);
void WindowMiddle(MotionContext& context, MotionResult& result);
void WindowBottom(MotionContext& context, MotionResult& result);
void HalfPageDown(MotionContext& context, MotionResult& result);
void HalfPageUp(MotionContext& context, MotionResult& result);
void PageDown(MotionContext& context, MotionResult& result);
void PageUp(MotionContext& context, MotionResult& result);

// Character search within the line: f, F, t, T and their repeats ; and ,.
// f, F, t or T (`code`) with the typed character, recorded for ; and ,.
void CharSearch(MotionContext& context, MotionResult& result, MotionCode code);
void RepeatCharSearch(MotionContext& context, MotionResult& result);
void RepeatCharSearchReverse(MotionContext& context, MotionResult& result);

// Bracket motions: % (partner of a bracket, a C comment delimiter or a preprocessor
// conditional; with a count a percentage of the buffer) and the unmatched-bracket motions
// [(, [{, ]) and ]}.
void Match(MotionContext& context, MotionResult& result);
// [(, [{, ]) and ]}: the `wanted` bracket that no `other` bracket between opens or closes.
void Unmatched(MotionContext& context, MotionResult& result, char16_t wanted, char16_t other,
               bool forward);

// Walks from `from` (not included) one character at a time across lines for a `wanted`
// bracket that no `other` bracket between opens or closes; no regard for strings or comments.
std::optional<TextPos> FindUnmatched(const TextView& view, TextPos from, char16_t wanted,
                                     char16_t other, bool forward);

// Motions over blocks of text: sentences ( and ), paragraphs { and }, and sections [[, ]], []
// and ][.
// A sentence starts at (line, column): a non-blank character after a sentence end, or the first
// of a run of empty lines. Shared with the sentence text objects.
bool StartsSentence(const TextView& view, uint32_t line, uint32_t column);

void SentenceBackward(MotionContext& context, MotionResult& result);
void SentenceForward(MotionContext& context, MotionResult& result);
void ParagraphBackward(MotionContext& context, MotionResult& result);
void ParagraphForward(MotionContext& context, MotionResult& result);
void SectionBackward(MotionContext& context, MotionResult& result);
void SectionForward(MotionContext& context, MotionResult& result);
void SectionEndBackward(MotionContext& context, MotionResult& result);
void SectionEndForward(MotionContext& context, MotionResult& result);

// The search motions: a typed "/" or "?" line, "n" and "N", "*", "#", "g*", "g#", and "gd",
// which looks for the first use of the identifier under the cursor in its block.
void SearchTyped(MotionContext& context, MotionResult& result);
void SearchNext(MotionContext& context, MotionResult& result);
void SearchPrevious(MotionContext& context, MotionResult& result);
void SearchWordForward(MotionContext& context, MotionResult& result);
void SearchWordBackward(MotionContext& context, MotionResult& result);
void GoToDeclaration(MotionContext& context, MotionResult& result);

// Jumps to marks: a backtick and a name go to the exact position, a quote and a name to the
// first non-blank of the mark's line.
void MarkExact(MotionContext& context, MotionResult& result);
void MarkLine(MotionContext& context, MotionResult& result);

// Matching of preprocessor conditionals for %: #if, #ifdef and #ifndef open a conditional,
// #elif and #else continue it and #endif closes it.
enum class Conditional : uint8_t { kNone, kOpening, kAlternative, kClosing };

// Classifies a line with every blank removed, so "  #  else" is an alternative.
Conditional ClassifyConditional(std::u16string_view line);

// The line of the partner of the conditional on `line`: from an opening or an alternative the
// next alternative or closing at the same depth, from a closing its opening. Empty when the
// line is not a conditional or the buffer ends first.
std::optional<uint32_t> MatchConditional(const TextView& view, uint32_t line);

// The motions that rebuild the extent of the last visual selection when . repeats a change
// made in visual mode: characterwise, linewise and blockwise.
// Column extent of a repeated block that reached the end of every line ("$" in block mode).
inline constexpr int32_t kRepeatBlockToLineEnd = INT32_MAX;

void VisualRepeatCharacter(MotionContext& context, MotionResult& result);
void VisualRepeatLine(MotionContext& context, MotionResult& result);
void VisualRepeatBlock(MotionContext& context, MotionResult& result);

}  // namespace tavik::motions
