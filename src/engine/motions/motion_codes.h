// Names for the motion codes that handlers refer to by number: the character searches record
// their own code for ";" and ",", and the table rows read better with names.
#pragma once

#include "engine/actions/command_record.h"

namespace tavik::motion {

inline constexpr MotionCode kWordForward = 1;
inline constexpr MotionCode kBigWordForward = 2;
inline constexpr MotionCode kWordBackward = 3;
inline constexpr MotionCode kBigWordBackward = 4;
inline constexpr MotionCode kWordEnd = 5;
inline constexpr MotionCode kBigWordEnd = 6;
inline constexpr MotionCode kPreviousWordEnd = 7;
inline constexpr MotionCode kPreviousBigWordEnd = 8;
inline constexpr MotionCode kTillForward = 9;
inline constexpr MotionCode kTillBackward = 10;
inline constexpr MotionCode kFindForward = 11;
inline constexpr MotionCode kFindBackward = 12;
inline constexpr MotionCode kRepeatCharSearch = 13;
inline constexpr MotionCode kRepeatCharSearchReverse = 14;
inline constexpr MotionCode kLeft = 15;
inline constexpr MotionCode kDown = 16;
inline constexpr MotionCode kUp = 17;
inline constexpr MotionCode kRight = 18;
inline constexpr MotionCode kWindowTop = 19;
inline constexpr MotionCode kWindowMiddle = 20;
inline constexpr MotionCode kWindowBottom = 21;
inline constexpr MotionCode kLineStart = 27;
inline constexpr MotionCode kFirstNonBlank = 28;
inline constexpr MotionCode kLineEnd = 29;
inline constexpr MotionCode kMarkExact = 30;
inline constexpr MotionCode kMarkLine = 31;
inline constexpr MotionCode kFirstLine = 32;
inline constexpr MotionCode kLastLine = 33;
inline constexpr MotionCode kMatch = 34;
inline constexpr MotionCode kCurrentLines = 35;
inline constexpr MotionCode kHalfPageDown = 36;
inline constexpr MotionCode kHalfPageUp = 37;
inline constexpr MotionCode kPageDown = 38;
inline constexpr MotionCode kPageUp = 39;
inline constexpr MotionCode kSentenceBackward = 40;
inline constexpr MotionCode kSentenceForward = 41;
inline constexpr MotionCode kParagraphBackward = 42;
inline constexpr MotionCode kParagraphForward = 43;
inline constexpr MotionCode kSectionBackward = 44;
inline constexpr MotionCode kSectionForward = 45;
inline constexpr MotionCode kSectionEndBackward = 46;
inline constexpr MotionCode kSectionEndForward = 47;
inline constexpr MotionCode kUnmatchedParenBackward = 48;
inline constexpr MotionCode kUnmatchedParenForward = 49;
inline constexpr MotionCode kUnmatchedBraceBackward = 50;
inline constexpr MotionCode kUnmatchedBraceForward = 51;
inline constexpr MotionCode kPreviousLine = 52;
inline constexpr MotionCode kNextLine = 53;
inline constexpr MotionCode kCountLines = 54;
inline constexpr MotionCode kBackspace = 55;
inline constexpr MotionCode kSpace = 56;
inline constexpr MotionCode kVisualRepeatCharacter = 57;
inline constexpr MotionCode kVisualRepeatLine = 58;
inline constexpr MotionCode kVisualRepeatBlock = 59;
inline constexpr MotionCode kColumn = 76;
// Text objects.
inline constexpr MotionCode kInnerWord = 60;
inline constexpr MotionCode kAWord = 61;
inline constexpr MotionCode kInnerBigWord = 62;
inline constexpr MotionCode kABigWord = 63;
inline constexpr MotionCode kInnerParagraph = 66;
inline constexpr MotionCode kAParagraph = 67;
inline constexpr MotionCode kInnerSentence = 64;
inline constexpr MotionCode kASentence = 65;
inline constexpr MotionCode kInnerTag = 82;
inline constexpr MotionCode kATag = 83;
inline constexpr MotionCode kInnerParenBlock = 68;
inline constexpr MotionCode kAParenBlock = 69;
inline constexpr MotionCode kInnerBraceBlock = 70;
inline constexpr MotionCode kABraceBlock = 71;
inline constexpr MotionCode kInnerAngleBlock = 72;
inline constexpr MotionCode kAnAngleBlock = 73;
inline constexpr MotionCode kInnerSquareBlock = 74;
inline constexpr MotionCode kASquareBlock = 75;
inline constexpr MotionCode kInnerSingleQuote = 78;
inline constexpr MotionCode kASingleQuote = 79;
inline constexpr MotionCode kInnerDoubleQuote = 80;
inline constexpr MotionCode kADoubleQuote = 81;
inline constexpr MotionCode kSearchTyped = 22;
inline constexpr MotionCode kSearchNext = 23;
inline constexpr MotionCode kSearchPrevious = 24;
inline constexpr MotionCode kSearchWordForward = 25;
inline constexpr MotionCode kSearchWordBackward = 26;
inline constexpr MotionCode kGoToDeclaration = 77;

}  // namespace tavik::motion
