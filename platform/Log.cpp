// Logging category definitions.
#include "platform/Log.h"

Q_LOGGING_CATEGORY(lcClipboard, "dialnest.clipboard")
Q_LOGGING_CATEGORY(lcTray, "dialnest.tray")
Q_LOGGING_CATEGORY(lcSession, "dialnest.session")
