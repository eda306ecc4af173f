// The program's logging categories, one per area: warnings show by default,
// QT_LOGGING_RULES="dialnest.*=true" shows every detail.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcClipboard)
Q_DECLARE_LOGGING_CATEGORY(lcTray)
Q_DECLARE_LOGGING_CATEGORY(lcSession)
// Data files: every failed read or rewrite, with its path, step and the system's reason.
Q_DECLARE_LOGGING_CATEGORY(lcStores)
Q_DECLARE_LOGGING_CATEGORY(lcPostal)
Q_DECLARE_LOGGING_CATEGORY(lcOrganizer)
// Every message the user is shown: the failures and refused inputs they were told about.
Q_DECLARE_LOGGING_CATEGORY(lcMessages)

namespace logging {
// Routes what the Qt-free code reports (platform/Diag.h) into the categories above.
void Install();
}  // namespace logging
