// The program's logging categories, one per area; QT_LOGGING_RULES="dialnest.*.debug=true" shows all.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcClipboard)
Q_DECLARE_LOGGING_CATEGORY(lcTray)
Q_DECLARE_LOGGING_CATEGORY(lcSession)
