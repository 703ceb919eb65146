// Compile entry point and the per-search case decision.
#include "regex/pattern.h"

#include "regex/compiler.h"
#include "regex/program_info.h"

namespace tavik {

struct PatternBuilder {
  static Pattern Build(regex::CompiledBytes&& bytes) {
    Pattern p;
    p.force_ignore_case_ = bytes.force_ignore_case;
    p.force_match_case_ = bytes.force_match_case;
    p.has_upper_case_ = bytes.has_upper_case;
    p.ignore_case_ = true;
    p.compiled_ =
        std::make_shared<const regex::ProgramInfo>(regex::AnalyzeProgram(std::move(bytes.program)));
    return p;
  }
};

std::span<const uint8_t> Pattern::program() const {
  if (!compiled_) return {};
  return compiled_->bytes;
}

Pattern Pattern::WithIgnoreCase(bool ignore_case) const {
  Pattern copy = *this;
  copy.ignore_case_ = ignore_case;
  return copy;
}

CompileResult CompilePattern(std::u16string_view text, int magic_level, char16_t delimiter) {
  regex::CompiledBytes bytes = regex::CompileToBytes(text, magic_level, delimiter);
  CompileResult result;
  result.error = bytes.error;
  result.pattern_end = bytes.pattern_end;
  result.after_delimiter = bytes.after_delimiter;
  if (bytes.error == CompileError::kNone) result.pattern = PatternBuilder::Build(std::move(bytes));
  return result;
}

bool DecideIgnoreCase(const Pattern& pattern, const CaseOptions& options) {
  if (pattern.force_ignore_case()) return true;
  if (pattern.force_match_case() || !options.ignorecase) return false;
  if (options.smartcase && !options.suppress_smartcase) return !pattern.has_upper_case();
  return true;
}

}  // namespace tavik
