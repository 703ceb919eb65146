// The registers' view of the host's clipboard: the text as Unicode text, the register kind in
// "VadClipboard2" and, for a block, the host editor's column-select marker "MSDEVColumnSelect".
#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "engine/state/register_file.h"
#include "platform/clipboard.h"

namespace tavik::host {

inline constexpr std::string_view kColumnSelectFormat = "MSDEVColumnSelect";
inline constexpr std::string_view kRegisterKindFormat = "VadClipboard2";

class ClipboardBridge final : public ClipboardService {
 public:
  // Without a clipboard the bridge is unusable: puts and gets are skipped.
  explicit ClipboardBridge(platform::Clipboard* clipboard) : clipboard_(clipboard) {}

  // Asked before every access; false means another program holds the clipboard open, and the
  // access is skipped as if the clipboard were busy. Always open when not set.
  void SetOpenCheck(std::function<bool()> can_open) { can_open_ = std::move(can_open); }

  bool Put(std::u16string_view text, RegisterKind kind) override;
  // Nothing as well when the clipboard did not change since this bridge last wrote or read it:
  // the clipboard register already holds that content, and a large text is not copied again.
  std::optional<RegisterContent> Get() override;

  // Lines of a clipboard text: breaks are CR LF, a lone CR or the end of the text, and a final
  // break does not start a further line.
  static size_t CountLines(std::u16string_view text);

 private:
  bool Open() const { return clipboard_ != nullptr && (!can_open_ || can_open_()); }

  platform::Clipboard* clipboard_;
  std::function<bool()> can_open_;
  std::optional<uint64_t> known_sequence_;  // the clipboard's content as last written or read
};

}  // namespace tavik::host
