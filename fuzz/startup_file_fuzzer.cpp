// Fuzz target of the startup file: random bytes read as the startup file into the engine's own
// options and mappings, then a fixed set of keys typed on a small text through the package, so
// whatever the file set up (odd mappings, recursive ones, odd option values) must leave the
// engine sane. Checks: one error line per failed line, in line order; after every key the caret
// is inside the text and the engine reads the host's text; undoing everything restores the text.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch_session.h"
#include "config/key_notation.h"
#include "config/startup_file.h"
#include "engine/view_engine.h"
#include "fuzz_session.h"
#include "platform/utf8_codec.h"

namespace {

constexpr size_t kMaxFileBytes = 4096;

constexpr std::u16string_view kKeys =
    u"wjdwixy<Esc>yyPu:s/a/Q/g<CR>vjd.qaxjq2@aQ<C-v>jlc-<Esc>3x<C-r>/e<CR>AZ<Esc>";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavik;
  if (size > kMaxFileBytes) return 0;

  app::BatchSession session;
  fuzz::Sandbox(session.Editor());
  session.OpenText("fuzz.txt", "a line of text\n  (another) line\nx = \"quoted\";\n");
  session.FocusFirstDocument();
  platform::View* view = session.Editor().FocusedView();
  FUZZ_CHECK(view != nullptr && session.HasPackage());
  const std::u16string start = view->Buffer().Text();

  ViewEngine& engine = session.Package().Engine();
  StartupContext context{engine.GlobalOptions(), engine.Mappings(),
                         [&](std::u16string_view text) { engine.SetMessage(text); }};
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::vector<size_t> error_lines;
  const size_t failures = RunStartupLines(in, u"fuzzrc", context, [&](std::u16string_view error) {
    constexpr std::u16string_view kPrefix = u"Error processing fuzzrc: line ";
    FUZZ_CHECK(error.starts_with(kPrefix));
    size_t number = 0;
    for (char16_t c : error.substr(kPrefix.size())) {
      FUZZ_CHECK(c >= u'0' && c <= u'9');
      number = number * 10 + (c - u'0');
    }
    FUZZ_CHECK(error_lines.empty() || number > error_lines.back());
    error_lines.push_back(number);
  });
  FUZZ_CHECK(failures == error_lines.size());
  FUZZ_CHECK(error_lines.empty() || error_lines.back() <= size + 1);

  for (KeyCode key : ParseKeys(kKeys)) {
    session.FeedKey(app::AsTypedKey(key));
    fuzz::CheckViews(session);
    if (session.Editor().FocusedView() != view) return 0;
    if (fuzz::TextUnits(view->Buffer()) > 200000) break;
  }
  session.FinishKeys();
  session.FeedKey(KeyCode::Char(ch::kEscape));
  fuzz::CheckViews(session);
  if (session.Editor().FocusedView() != view) return 0;
  AttachedView* attached = session.Package().Attachment(*view);
  FUZZ_CHECK(attached != nullptr);
  fuzz::CheckUndoRedoAll(attached->text, view->Buffer(), start);
  return 0;
}
