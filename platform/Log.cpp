// Logging category definitions.
#include "platform/Log.h"

Q_LOGGING_CATEGORY(lcClipboard, "dialnest.clipboard", QtWarningMsg)
Q_LOGGING_CATEGORY(lcTray, "dialnest.tray", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSession, "dialnest.session", QtWarningMsg)
Q_LOGGING_CATEGORY(lcMessages, "dialnest.messages", QtWarningMsg)
