// The one fixture every window test starts from: a temporary program folder, a message recorder that
// answers on cue, and every Module1 global as a fresh start has it (also after the test).
#pragma once

#include <QObject>
#include <memory>
#include <optional>

#include "core/Module1.h"
#include "core/PhoneBookFile.h"
#include "platform/Clock.h"
#include "platform/TextFile.h"
#include "testsupport/FailingWrites.h"
#include "testsupport/MsgBoxRecorder.h"
#include "testsupport/TempDir.h"

class WindowTestKit : public QObject {
 protected:
  std::unique_ptr<TempDir> dir;
  std::unique_ptr<MsgBoxRecorder> rec;

  void StartKit() {
    dir = std::make_unique<TempDir>();
    Module1::SetAppDirForTest(dir->Path());
    ResetGlobals();
    rec = std::make_unique<MsgBoxRecorder>();
  }
  void StopKit() {
    rec.reset();
    dir.reset();
    Clock::SetForTest(std::nullopt);
    textfile::fault::Clear();
    ResetGlobals();
  }

 private:
  static void ResetGlobals() {
    Module1::CurGroup = 1;
    Module1::SubWinOpen = false;
    Module1::PopupBusy = false;
    Module1::CaptionHeight = 19;  // the design's caption; start-up takes the style's
    Module1::AlarmArmed = true;
    Module1::AlarmTime.clear();
    Module1::AlarmLastCheck = {};
    Module1::LetterMenus.fill(nullptr);
    for (int g = 1; g <= phonebook::kGroups; ++g) Module1::SetGroupName(g, {});
  }
};
