// The key tables of normal and visual mode: for each group (motions, normal actions, visual
// actions) the code a key produces and the parser handler that runs for it. The tables are
// constexpr data built from row lists in key_tables.cpp.
#pragma once

#include <cstdint>

#include "common/key_code.h"

namespace tavik {

// What the parser does with a key found in a table.
enum class KeyHandler : uint8_t {
  kNone = 0,           // not bound
  kMotion,             // motion := code; complete
  kAction,             // action := code; complete
  kOperator,           // normal mode: wait for a motion; code 0 for the no-op operator Q
  kCountDigit,         // "1" to "9": start a count
  kRegisterPrefix,     // '"': the next character names the register
  kCharArgAction,      // @, m: the next character is the action argument
  kLanguageArgAction,  // r: the same, and the argument goes through language mappings
  kRecord,             // q: a register to record into, or stop while recording
  kCharArgMotion,      // backtick, quote: the next character is the motion argument
  kLanguageArgMotion,  // f, F, t, T: the same, with language mappings on the argument
  kForcedKind,         // v, V, CTRL-V after an operator; the code is the ForcedKind
  kTextObjectPrefix,   // i, a after an operator or in visual mode; code as kPrefix
  kPrefix,             // g, z, Z, CTRL-W, [, ]: the code is a KeyPrefix
  kCommandLine,        // ':'
  kSearchLine,         // '/', '?'
};

// Which second-key rules apply after a prefix key.
enum class KeyPrefix : uint8_t {
  kG,                // g with no operator pending
  kGAfterOperator,   // g reached through the motion group
  kZ,                // z with no operator pending
  kZAfterOperator,   // z reached through the motion group: nothing follows it
  kBigZ,             // Z
  kWindow,           // CTRL-W
  kOpenBracket,      // [
  kCloseBracket,     // ]
  kTextObjectInner,  // i
  kTextObjectAround  // a
};

enum class KeyGroup : uint8_t { kMotion = 0, kNormalAction = 1, kVisualAction = 2 };

struct KeyBinding {
  uint8_t code = 0;  // MotionCode, ActionCode, ForcedKind or KeyPrefix, by handler
  KeyHandler handler = KeyHandler::kNone;
};

// The binding of a key in one group. Keys with ALT, characters above 255 and special keys with
// modifiers other than CTRL alone are never bound.
KeyBinding LookupKey(KeyGroup group, KeyCode key);

}  // namespace tavik
