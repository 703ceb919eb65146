// Names for the action codes: the key tables, the parser and the executor refer to actions by
// these, never by number.
#pragma once

#include "engine/actions/command_record.h"

namespace tavik::action {

inline constexpr ActionCode kNone = 0;  // also the operator "Q", which does nothing
inline constexpr ActionCode kDeleteChar = 1;
inline constexpr ActionCode kDeleteCharBefore = 2;
inline constexpr ActionCode kInsert = 3;
inline constexpr ActionCode kDelete = 4;
inline constexpr ActionCode kUndo = 5;
inline constexpr ActionCode kRedo = 6;
inline constexpr ActionCode kRecord = 7;
inline constexpr ActionCode kReplaceChars = 8;
inline constexpr ActionCode kYank = 9;
inline constexpr ActionCode kYankLines = 10;
inline constexpr ActionCode kUndoLine = 11;  // no effect
inline constexpr ActionCode kInsertAtFirstNonBlank = 12;
inline constexpr ActionCode kOpenBelow = 13;
inline constexpr ActionCode kOpenAbove = 14;
inline constexpr ActionCode kReplaceMode = 15;
inline constexpr ActionCode kPutAfter = 16;
inline constexpr ActionCode kPutBefore = 17;
inline constexpr ActionCode kAppendAfter = 18;
inline constexpr ActionCode kAppendAtEnd = 19;
inline constexpr ActionCode kSubstituteChars = 20;
inline constexpr ActionCode kSubstituteLines = 21;
inline constexpr ActionCode kDeleteToEnd = 22;
inline constexpr ActionCode kJoin = 23;
inline constexpr ActionCode kKeywordLookup = 24;  // no effect
inline constexpr ActionCode kChange = 26;
inline constexpr ActionCode kChangeToEnd = 27;
inline constexpr ActionCode kVisualCharacterwise = 28;
inline constexpr ActionCode kVisualLinewise = 29;
inline constexpr ActionCode kVisualBlockwise = 30;
inline constexpr ActionCode kSwapVisualEnds = 31;
inline constexpr ActionCode kScrollLineToTop = 32;
inline constexpr ActionCode kScrollLineToCenter = 33;
inline constexpr ActionCode kScrollLineToBottom = 34;
inline constexpr ActionCode kScrollUp = 35;
inline constexpr ActionCode kScrollDown = 36;
inline constexpr ActionCode kSetMark = 37;
inline constexpr ActionCode kExLine = 38;
inline constexpr ActionCode kMakeUpper = 39;
inline constexpr ActionCode kMakeLower = 40;
inline constexpr ActionCode kSwitchCase = 41;
inline constexpr ActionCode kFormat = 42;
inline constexpr ActionCode kShiftRight = 43;
inline constexpr ActionCode kShiftLeft = 44;
inline constexpr ActionCode kRunRegister = 45;
inline constexpr ActionCode kGoToDefinition = 46;
inline constexpr ActionCode kSplitWindow = 47;
inline constexpr ActionCode kFocusOtherView = 48;
inline constexpr ActionCode kFocusViewAbove = 49;
inline constexpr ActionCode kFocusViewBelow = 50;
inline constexpr ActionCode kCreateFold = 51;
inline constexpr ActionCode kRemoveRegion = 52;
inline constexpr ActionCode kOpenRegion = 53;
inline constexpr ActionCode kCloseRegion = 54;
inline constexpr ActionCode kToggleRegion = 55;
inline constexpr ActionCode kToggleRegionFully = 56;
inline constexpr ActionCode kCollapseToDefinitions = 57;
inline constexpr ActionCode kExpandAllRegions = 58;
inline constexpr ActionCode kReselect = 59;
inline constexpr ActionCode kRepeatSubstitution = 60;
inline constexpr ActionCode kOpenFileUnderCursor = 61;
inline constexpr ActionCode kSaveAndClose = 62;
inline constexpr ActionCode kAlternateDocument = 63;
inline constexpr ActionCode kCloseWindow = 64;
inline constexpr ActionCode kJumpOlder = 65;
inline constexpr ActionCode kJumpNewer = 66;
inline constexpr ActionCode kSelectRangeInHost = 67;
inline constexpr ActionCode kReturnFromDefinition = 68;
inline constexpr ActionCode kInsertWhereLeft = 69;
inline constexpr ActionCode kInsertAtColumnZero = 70;
inline constexpr ActionCode kPutIndented = 71;
inline constexpr ActionCode kNextDocument = 72;
inline constexpr ActionCode kPreviousDocument = 73;
inline constexpr ActionCode kIncrement = 74;
inline constexpr ActionCode kDecrement = 75;
inline constexpr ActionCode kRepeat = 76;
static_assert(kRepeat == kMaxActionCode);

}  // namespace tavik::action
