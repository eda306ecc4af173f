// Message boxes with the program title; tests install a handler that records them and answers on cue.
#pragma once

#include <QString>
#include <functional>

inline const QString kAppTitle = QStringLiteral("Dialnest Plus");

enum class MsgIcon { None, Error, Warning, Information, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

struct MsgRecord {
  QString text;
  QString title;
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::Ok;
};

MsgResult MsgBox(const QString& text, MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok,
                 const QString& title = kAppTitle);

// `message` with one more line naming the cause of a failed write (a full disk, access refused, ...)
// where the system's error is a common one.
QString WithReason(const QString& message, int error);

// A window holds changes to `file` (a name for the user), which another program changed on disk since
// the window read it. Asked with Cancel as the default, which keeps both: nothing is written, the
// window keeps its changes.
enum class ChangedFileChoice { Overwrite, TakeTheirs, KeepBoth };
ChangedFileChoice AskAboutChangedFile(const QString& file);

using MsgHandler = std::function<MsgResult(const MsgRecord&)>;
// Replaces the modal dialog (an empty handler restores it).
void SetMsgBoxHandler(MsgHandler handler);
