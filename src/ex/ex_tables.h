// The three ex command tables, searched in order: ranged commands, commands carried out by host
// commands, and commands that take no range. A name selects a row when it starts with the row's
// whole prefix and what follows is a leading part of the row's rest.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "ex/ex_context.h"

namespace tavik {

enum class FirstDefault : uint8_t { kCurrent, kLineZero };
enum class LastDefault : uint8_t { kSame, kNext, kWholeBuffer };

using RangedHandler = void (*)(ExContext& context, std::u16string_view argument, ExRange range,
                               bool bang);
using HostBackedHandler = void (*)(ExContext& context, uint32_t row, std::u16string_view argument,
                                   ExRange range, bool bang);
using RangelessHandler = void (*)(ExContext& context, std::u16string_view argument, bool bang);

struct RangedRow {
  std::u16string_view prefix;
  std::u16string_view rest;
  RangedHandler handler;  // nullptr: the command does nothing
  bool bang_allowed;
  FirstDefault first_default;
  LastDefault last_default;
};

// A row runs its own handler, or its first host command (with the argument) and then its second
// (without).
struct HostBackedRow {
  std::u16string_view prefix;
  std::u16string_view rest;
  bool bang_allowed;
  std::u16string_view first_command;
  std::u16string_view second_command;
  RangedHandler own_handler;
};

struct RangelessRow {
  std::u16string_view prefix;
  std::u16string_view rest;
  RangelessHandler handler;  // nullptr: the command does nothing
  bool bang_allowed;
};

std::span<const RangedRow> RangedCommands();
std::span<const HostBackedRow> HostBackedCommands();
std::span<const RangelessRow> RangelessCommands();

// The handler of every host-backed row (set by the host-backed command family).
HostBackedHandler HostBackedCommandHandler();

// Whether `name` selects the row with this prefix and rest.
bool NameMatches(std::u16string_view name, std::u16string_view prefix, std::u16string_view rest);

}  // namespace tavik
