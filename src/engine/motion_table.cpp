// Motion code → handler. Rows are added as the motion families are built.
#include "engine/motion_table.h"

#include <array>

#include "engine/motions_basic.h"

namespace tavik {
namespace {

struct MotionRow {
  MotionCode code;
  MotionHandler handler;
};

constexpr auto kMotionTable = [] {
  std::array<MotionRow, kMaxMotionCode + 1> table{};
  for (size_t code = 0; code < table.size(); ++code) {
    table[code] = {static_cast<MotionCode>(code), nullptr};
  }
  table[15] = {15, motions::Left};
  table[16] = {16, motions::Down};
  table[17] = {17, motions::Up};
  table[18] = {18, motions::Right};
  return table;
}();

}  // namespace

MotionHandler MotionHandlerFor(MotionCode code) {
  return code <= kMaxMotionCode ? kMotionTable[code].handler : nullptr;
}

}  // namespace tavik
