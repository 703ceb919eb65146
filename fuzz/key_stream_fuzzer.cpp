// Fuzz target of the whole engine: random keys typed through the host editor and the package,
// exactly as batch mode types them, on a small random text. Every key is checked: the caret is
// inside the text and the engine reads the same text as the host. At the end, undoing every
// command gives the starting text back and redoing them gives the final text back.
//
// Input layout: the starting text runs to the first 0x00 byte (at most 512 bytes; none gives a
// small fixed text); each byte after it picks one entry of a table weighted toward meaningful
// keys: operators, motions, text objects, counts, registers, recording and replay, the visual
// modes, insert mode and its CTRL keys, command lines with :s, :g, :map and the like, undo and
// redo. Bytes above the table pick a character key.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch_session.h"
#include "config/key_notation.h"
#include "fuzz_session.h"
#include "platform/utf8_codec.h"

namespace {

using namespace tavik;

constexpr size_t kMaxTextBytes = 512;
constexpr size_t kMaxTokens = 160;
// Past this much text the run stops typing: the checks below still run.
constexpr uint64_t kMaxTextUnits = 200000;

// Written in key notation.
constexpr std::string_view kTokens[] = {
    // Motions
    "h",
    "j",
    "k",
    "l",
    "w",
    "b",
    "e",
    "W",
    "B",
    "E",
    "0",
    "^",
    "$",
    "gg",
    "G",
    "fa",
    "t ",
    "Fe",
    "T(",
    ";",
    ",",
    "%",
    "{",
    "}",
    "(",
    ")",
    "H",
    "M",
    "L",
    "n",
    "N",
    "*",
    "#",
    "ge",
    "gj",
    "gk",
    "`a",
    "'a",
    "]]",
    "[[",
    "|",
    "_",
    "+",
    "-",
    "<CR>",
    "<Space>",
    "<BS>",
    "<Left>",
    "<Right>",
    "<Up>",
    "<Down>",
    "<Home>",
    "<End>",
    "<PageDown>",
    "<C-d>",
    "<C-u>",
    "<C-f>",
    "<C-b>",
    "<C-e>",
    "<C-y>",
    "gv",
    "g_",
    "go",
    "''",
    "``",
    // Operators and text objects
    "d",
    "c",
    "y",
    "<",
    ">",
    "gu",
    "gU",
    "g~",
    "=",
    "gq",
    "iw",
    "aw",
    "iW",
    "ip",
    "ap",
    "is",
    "i(",
    "a(",
    "i{",
    "a\"",
    "i'",
    "it",
    "at",
    "i<lt>",
    "a[",
    "dd",
    "cc",
    "yy",
    "D",
    "C",
    "Y",
    // Actions
    "x",
    "X",
    "p",
    "P",
    "gp",
    "J",
    "gJ",
    "r",
    "~",
    ".",
    "u",
    "<C-r>",
    "U",
    "<C-a>",
    "<C-x>",
    "ma",
    "mb",
    "\"a",
    "\"A",
    "\"_",
    "\"+",
    "\"0",
    "\"-",
    "\"/",
    "\":",
    "&",
    "g&",
    "<C-o>",
    "<C-i>",
    "<Esc>",
    "<C-c>",
    "ZZ",
    "<C-g>",
    "s",
    "S",
    "R",
    "gi",
    "gI",
    "<C-v>",
    "v",
    "V",
    "o",
    "O",
    "zf",
    "zo",
    "zc",
    "zE",
    "zz",
    "zt",
    // Counts: one digit at a time, so a count stays small
    "2",
    "3",
    "9",
    // Recording and replay
    "qa",
    "q",
    "@a",
    "@@",
    "@:",
    "qb",
    "@b",
    // Insert mode
    "i",
    "a",
    "I",
    "A",
    "<C-w>",
    "<C-u>",
    "<C-t>",
    "<C-k>",
    "<C-n>",
    "<C-p>",
    "<C-r>a",
    "<C-r>\"",
    "<C-o>",
    "<Tab>",
    "<Del>",
    "<C-h>",
    "<C-j>",
    "<C-m>",
    "<C-[>",
    "<Insert>",
    "<C-v>u00e9",
    "<C-q>065",
    // Command lines
    ":",
    "/",
    "?",
    "/a<CR>",
    "?e\\|x<CR>",
    ":s/a/X/g<CR>",
    ":s/\\(\\w\\+\\) \\(\\w\\+\\)/\\2 \\1/<CR>",
    ":%s/e/\\r/g<CR>",
    ":%s/$/!/<CR>",
    ":g/a/d<CR>",
    ":g/^/m0<CR>",
    ":v/e/s/^/# /<CR>",
    ":g/x/normal Ay<CR>",
    ":2,$d<CR>",
    ":1t$<CR>",
    ":'a,.y<CR>",
    ":map Q dd<CR>",
    ":map x xx<CR>",
    ":noremap j k<CR>",
    ":imap jj <lt>Esc><CR>",
    ":set sw=3 et<CR>",
    ":set ic<CR>",
    ":set nows<CR>",
    ":set tw=10<CR>",
    ":u<CR>",
    ":red<CR>",
    ":&&<CR>",
    ":j!<CR>",
    ":>><CR>",
    ":pu<CR>",
    ":co0<CR>",
    ":sp<CR>",
    ":q<CR>",
    ":bn<CR>",
};

// Character keys picked by the bytes past the table; a few outside Latin-1 among them.
constexpr char16_t kChars[] = {u'a',      u'e',      u' ', u'(', u')', u'x',      u'1',
                               u'"',      u'\t',     u'{', u'}', u'<', u'>',      u'\\',
                               u'/',      u'.',      u'*', u'^', u'$', u'\u00e9', u'\u4e2d',
                               u'\u00fc', u'\u05d0', u'0', u'Q', u'g', u'q'};

const std::vector<std::vector<KeyCode>>& TokenKeys() {
  static const std::vector<std::vector<KeyCode>> keys = [] {
    std::vector<std::vector<KeyCode>> all;
    for (std::string_view token : kTokens) all.push_back(ParseKeys(platform::FromUtf8(token)));
    return all;
  }();
  return keys;
}

constexpr std::string_view kDefaultText =
    "first line with (a pair) and \"a quote\"\n"
    "\tsecond: x = 12; y = -0x1f\n"
    "\n"
    "<b>tag</b> a.b e. Next sentence.\n"
    "{ block\n  nested }\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::SplitInput input = fuzz::SplitAt(data, size, '\0');
  std::string_view text = input.tail.data() == nullptr ? kDefaultText : input.head;
  std::string_view keys = input.tail.data() == nullptr ? input.head : input.tail;
  if (text.size() > kMaxTextBytes || keys.size() > kMaxTokens) return 0;

  app::BatchSession session;
  fuzz::Sandbox(session.Editor());
  session.OpenText("fuzz.txt", text);
  session.FocusFirstDocument();
  platform::View* view = session.Editor().FocusedView();
  FUZZ_CHECK(view != nullptr && session.HasPackage());
  const std::u16string start = view->Buffer().Text();
  const uint64_t document_id = session.Editor().DocumentOf(*view)->id;

  // TAVIK_FUZZ_TRACE=1 prints each step's keys, for reading a finding.
  static const bool trace = std::getenv("TAVIK_FUZZ_TRACE") != nullptr;
  const std::vector<std::vector<KeyCode>>& table = TokenKeys();
  for (unsigned char byte : keys) {
    std::vector<KeyCode> step;
    if (byte < table.size()) {
      step = table[byte];
    } else {
      step.push_back(KeyCode::Char(kChars[(byte - table.size()) % std::size(kChars)]));
    }
    if (trace) std::fprintf(stderr, "%s", platform::ToUtf8(PrintKeys(step)).c_str());
    for (KeyCode key : step) session.FeedKey(app::AsTypedKey(key));
    fuzz::CheckViews(session);
    if (session.Editor().FocusedView() == nullptr) break;
    if (fuzz::TextUnits(session.Editor().FocusedView()->Buffer()) > kMaxTextUnits) break;
  }
  session.FinishKeys();
  for (int i = 0; i < 3; ++i) session.FeedKey(KeyCode::Char(ch::kEscape));
  fuzz::CheckViews(session);

  fuzz::CheckStartingDocument(session, document_id, start);
  return 0;
}
