// Fuzz target of the ex command line: random lines run one after another on a small buffer, each
// as one engine command, the way Return on a ":" line runs them. After every line the caret is
// inside the text and the engine reads the same text as the host; at the end undoing every
// command gives the starting text back and redoing them the final text.
//
// Input layout: the buffer's text runs to the first 0x00 byte (at most 512 bytes); the command
// lines follow, separated by '\n' (at most 12 lines of at most 160 bytes). Text bytes are UTF-8.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/batch_session.h"
#include "engine/view_engine.h"
#include "ex/ex_context.h"
#include "ex/ex_line.h"
#include "fuzz_session.h"
#include "platform/utf8_codec.h"

namespace {

constexpr size_t kMaxTextBytes = 512;
constexpr size_t kMaxLines = 12;
constexpr size_t kMaxLineBytes = 160;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavik;
  const fuzz::SplitInput input = fuzz::SplitAt(data, size, '\0');
  if (input.head.size() > kMaxTextBytes) return 0;

  app::BatchSession session;
  fuzz::Sandbox(session.Editor());
  session.OpenText("fuzz.txt", input.head);
  session.FocusFirstDocument();
  platform::View* view = session.Editor().FocusedView();
  FUZZ_CHECK(view != nullptr && session.HasPackage());
  const std::u16string start = view->Buffer().Text();
  const uint64_t document_id = session.Editor().DocumentOf(*view)->id;

  std::string_view rest = input.tail;
  for (size_t n = 0; n < kMaxLines && !rest.empty(); ++n) {
    const size_t end = std::min(rest.find('\n'), rest.size());
    std::string_view line = rest.substr(0, std::min(end, kMaxLineBytes));
    rest.remove_prefix(std::min(end + 1, rest.size()));

    platform::View* focused = session.Editor().FocusedView();
    if (focused == nullptr) break;
    AttachedView* attached = session.Package().Attachment(*focused);
    if (attached == nullptr) break;
    const uint64_t view_id = focused->Id();
    ViewEngine& engine = session.Package().Engine();
    TextView& text = attached->text;
    text.RefreshFromHost(false);
    TextView::CommandScope command(text);
    ExContext context{engine, *attached, text, text.GetCaret()};
    ExecuteExLine(context, platform::FromUtf8(line));
    // A line may close the view (":q" on a split pane); its command is then over already.
    platform::View* still = session.Editor().FindView(view_id);
    if (still == nullptr || session.Package().Attachment(*still) != attached) command.Release();
    fuzz::CheckViews(session);
  }

  fuzz::CheckStartingDocument(session, document_id, start);
  return 0;
}
