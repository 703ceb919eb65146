// Finding names in the text the way the host's navigation commands do: the place a name looks
// defined at, the word and the file name under the caret.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/text_pos.h"
#include "platform/text_buffer.h"

namespace tavik::platform {

// Letters, digits and '_'; every non-ASCII unit except blanks and Latin-1 signs counts as a
// letter, so names in any script are whole.
bool IsNameUnit(char16_t c);
// Name units and the punctuation of paths: - . / \ ~ :
bool IsFileNameUnit(char16_t c);

// Whether the whole-word occurrence of a name at [at, at + length) of the line looks like its
// definition: one or more identifiers or keywords (a type, "class", "def", "#define" ...) before
// it at the start of the line, and "(", "{", "=", ";", ":", "[" or the line end after it.
bool LooksLikeDefinition(std::u16string_view line, size_t at, size_t length);

// The first whole-word occurrence of the name that looks like a definition, else the first
// whole-word occurrence at all; nothing when the name does not occur or is empty.
std::optional<TextPos> FindDefinition(const TextBuffer& buffer, std::u16string_view name);

// The run of name units, or of file-name units, that contains the column; empty when the unit
// at the column is not one.
std::u16string_view WordAt(std::u16string_view line, uint32_t column);
std::u16string_view FileNameAt(std::u16string_view line, uint32_t column);

}  // namespace tavik::platform
