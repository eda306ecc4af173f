// The one fixture every window test starts from: a temporary program folder, a fresh context of the
// run over it (as a start has it), and a message recorder that answers on cue.
#pragma once

#include <QObject>
#include <memory>
#include <optional>

#include "core/Module1.h"
#include "platform/Clock.h"
#include "platform/TextFile.h"
#include "testsupport/FailingWrites.h"
#include "testsupport/MsgBoxRecorder.h"
#include "testsupport/TempDir.h"

class WindowTestKit : public QObject {
 protected:
  std::unique_ptr<TempDir> dir;
  std::unique_ptr<MsgBoxRecorder> rec;
  std::unique_ptr<AppContext> ctx;  // the run's context, fresh for each test, over `dir`

  void StartKit() {
    dir = std::make_unique<TempDir>();
    ctx = std::make_unique<AppContext>(dir->Path());
    Module1::UseContext(ctx.get());
    rec = std::make_unique<MsgBoxRecorder>();
  }
  void StopKit() {
    rec.reset();
    Module1::UseContext(nullptr);
    ctx.reset();
    dir.reset();
    Clock::SetForTest(std::nullopt);
    textfile::fault::Clear();
  }
};
