// The pattern library on its own: compile a pattern (CompilePattern, with its magic level and an
// optional delimiter), decide its case rule (DecideCase), and search lines (Search over a
// LineSource such as StringLineSource, forward or backward, with or without wrapping) or try a
// match at one position (MatchAt). Keep one MatchCache per caller for its searches.
#pragma once

#include "common/text_pos.h"
#include "regex/line_source.h"
#include "regex/match_cache.h"
#include "regex/matcher.h"
#include "regex/pattern.h"
#include "regex/search.h"
