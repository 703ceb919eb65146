// Yank and put: "y", "Y", "p", "P", "gp", "gP", "]p", "[p", "]P", "[P".
#include "engine/actions.h"

namespace tavik::actions {

void Yank(ActionContext&) {}
void YankLines(ActionContext&) {}
void PutAfter(ActionContext&) {}
void PutBefore(ActionContext&) {}
void PutIndented(ActionContext&) {}

}  // namespace tavik::actions
