// Records every message box while alive and answers each with the next queued answer (Ok by default).
#pragma once

#include <QList>

#include "platform/MsgBox.h"

class MsgBoxRecorder {
 public:
  MsgBoxRecorder() {
    SetMsgBoxHandler([this](const MsgRecord& r) {
      records.append(r);
      return answers.isEmpty() ? MsgResult::Ok : answers.takeFirst();
    });
  }
  ~MsgBoxRecorder() { SetMsgBoxHandler({}); }
  MsgBoxRecorder(const MsgBoxRecorder&) = delete;
  MsgBoxRecorder& operator=(const MsgBoxRecorder&) = delete;

  QList<MsgRecord> records;
  QList<MsgResult> answers;
};
