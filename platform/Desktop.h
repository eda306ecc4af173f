// Opening a local file or folder with the desktop's own program (a browser, the file manager).
#pragma once

#include <QString>
#include <functional>

namespace desktop {

// Opens `path`; `failed` runs (perhaps later, once the opener has answered) when nothing could open
// it: no opener installed, or one that found no program for the file.
void Open(const QString& path, const std::function<void()>& failed);

// Test seam: `open(path)` decides instead (true: opened); an empty function restores the desktop's.
void SetOpenerForTest(std::function<bool(const QString&)> open);

}  // namespace desktop
