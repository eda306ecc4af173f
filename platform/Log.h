// The program's logging categories, one per area: warnings show by default,
// QT_LOGGING_RULES="dialnest.*=true" shows every detail.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcClipboard)
Q_DECLARE_LOGGING_CATEGORY(lcTray)
Q_DECLARE_LOGGING_CATEGORY(lcSession)
// Every message the user is shown: the failures and refused inputs they were told about.
Q_DECLARE_LOGGING_CATEGORY(lcMessages)
