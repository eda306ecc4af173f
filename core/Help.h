// The help item: the user's old help file where the desktop can open it, else the program's own page.
#pragma once

#include <QString>

#include "core/AppContext.h"

namespace help {

// The program's own help page (installed with it), or empty when it cannot be found.
QString Page();

// Opens the help; with nothing on the desktop to show it, the user is told where the page is.
void Open(const AppContext& ctx);

}  // namespace help
