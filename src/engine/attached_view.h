// One editor view as the engine knows it: its TextView and its copy of the option values.
#pragma once

#include "config/options.h"
#include "engine/text/text_view.h"

namespace tavik {

struct AttachedView {
  AttachedView(HostView* host, const OptionSet& global_options)
      : text(host), options(global_options.CopyForView()) {}

  TextView text;
  OptionSet options;
};

}  // namespace tavik
