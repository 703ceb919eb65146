// Recording and running keys: "q" records the typed keys into a register as key notation, "@"
// runs a register's text as keys and "@@" runs the register run last.
#include <algorithm>

#include "config/key_notation.h"
#include "engine/actions/actions.h"
#include "engine/state/register_file.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"

namespace tavik::actions {
namespace {

// One "@" queues at most this many keys, so a huge count over a long register cannot exhaust
// memory; the count is cut to what fits, at least one run.
constexpr size_t kMaxQueuedRunKeys = 4'000'000;

}  // namespace

void Record(ActionContext& context) {
  context.remaining_count = 0;
  ViewEngine& engine = context.engine;
  if (engine.IsRecording()) {
    std::vector<KeyCode> keys = engine.StopRecording();
    engine.Registers().Write(engine.RecordingRegister(), PrintKeys(keys),
                             RegisterKind::kCharacterwise);
    return;
  }
  char16_t name = context.argument();
  engine.StartRecording(name > 127 ? 0 : name);
}

void RunRegister(ActionContext& context) {
  uint32_t count = std::max<uint32_t>(1, context.remaining_count);
  context.remaining_count = 0;
  ViewEngine& engine = context.engine;
  char16_t name = context.argument();
  if (name == u'@') {
    if (engine.LastRunRegister() == 0) {
      engine.Beep(context.text);
      return;
    }
    name = engine.LastRunRegister();
  }
  std::optional<RegisterContent> content = engine.Registers().Read(name);
  if (!content) {
    engine.Beep(context.text);
    return;
  }
  engine.LastRunRegister() = name;
  if (content->text.empty()) return;
  std::vector<KeyCode> keys = ParseKeys(content->text);
  if (keys.empty()) return;
  size_t runs = std::clamp<size_t>(kMaxQueuedRunKeys / keys.size(), 1, count);
  std::vector<KeyCode> queued;
  queued.reserve(keys.size() * runs);
  for (size_t i = 0; i < runs; ++i) queued.insert(queued.end(), keys.begin(), keys.end());
  engine.InsertKeysAtFront(queued, true, context.text);
}

}  // namespace tavik::actions
