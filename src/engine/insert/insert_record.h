// The replayable content of the last insertion: the operations it performed, in order, so that
// a count, "." and block insertions can perform the same edits again with the engine's handlers.
#pragma once

#include <cstdint>
#include <vector>

namespace tavik {

enum class InsertOpType : uint8_t {
  kInsertChar = 1,
  kOverwriteChar = 2,
  kBackspace = 3,
  kDelete = 4,
  kNewLine = 5,
  kIndent = 6,
  kUnindent = 7,
  kInsertRegister = 8,
  kOverwriteRegister = 9,
  kUp = 10,
  kDown = 11,
  kLeft = 12,
  kRight = 13,
  kHome = 14,
  kEnd = 15,
  kPageUp = 16,
  kPageDown = 17,
};

struct InsertOp {
  InsertOpType type = InsertOpType::kInsertChar;
  char16_t ch = 0;  // the character, or the register name

  friend bool operator==(const InsertOp&, const InsertOp&) = default;
};

// Open-line kind of an insertion: none, a line below ("o"), a line above ("O").
enum class OpenLine : uint8_t { kNone = 0, kBelow = 1, kAbove = 2 };

struct InsertRecord {
  std::vector<InsertOp> ops;
  OpenLine open_line = OpenLine::kNone;
  bool replaying = false;  // a replay does not record itself

  void Reset(OpenLine open) {
    ops.clear();
    open_line = open;
    replaying = false;
  }
  void Append(InsertOp op) {
    if (!replaying) ops.push_back(op);
  }
};

}  // namespace tavik
