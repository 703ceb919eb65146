// The `set` command: argument parsing, storing, single-option display and the listing line.
// The caller shows the message and sends the option-changed notification for the stored id.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/options.h"

namespace tavik {

struct SetOutcome {
  // Text for the engine's message line: the listing, "Unknown option" or one option shown as
  // "name=value". Empty when there is nothing to show.
  std::u16string message;
  // The option whose value was stored, or kNull when nothing was stored. When it is `hlsearch` the
  // caller clears the highlighting-suspended mark; the view variant's caller then notifies.
  OptionId stored_id = OptionId::kNull;
};

// Runs `set` with the text after the command name. With a view this is the command-line
// variant: values are read through the view and written to the view's copy and the global set.
// Without one it is the startup-file variant, which reads and writes the global set only.
SetOutcome RunSetCommand(std::u16string_view argument, OptionSet& global, OptionSet* view);

// The one-line listing of every option, values read through `options`.
std::u16string OptionListing(const OptionSet& options);

}  // namespace tavik
