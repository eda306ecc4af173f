// The stand-in shortcut the systems' factories share (not for callers).
#pragma once

#include "platform/GlobalShortcut.h"

namespace globalshortcut {
// Where a program cannot register keys: it hears of nothing, and says so in the settings dialog.
class NoShortcut final : public GlobalShortcut {
 public:
  bool Set(const QKeySequence& key) override;
};
}  // namespace globalshortcut
