// Logging category definitions.
#include "platform/Log.h"

#include "platform/Diag.h"

Q_LOGGING_CATEGORY(lcClipboard, "dialnest.clipboard", QtWarningMsg)
Q_LOGGING_CATEGORY(lcTray, "dialnest.tray", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSession, "dialnest.session", QtWarningMsg)
Q_LOGGING_CATEGORY(lcMessages, "dialnest.messages", QtWarningMsg)
Q_LOGGING_CATEGORY(lcStores, "dialnest.stores", QtInfoMsg)
Q_LOGGING_CATEGORY(lcPostal, "dialnest.postal", QtInfoMsg)
Q_LOGGING_CATEGORY(lcOrganizer, "dialnest.organizer", QtInfoMsg)

namespace logging {
namespace {
const QLoggingCategory& CategoryOf(diag::Area area) {
  switch (area) {
    case diag::Area::Postal:
      return lcPostal();
    case diag::Area::Organizer:
      return lcOrganizer();
    case diag::Area::Stores:
      break;
  }
  return lcStores();
}

void ToCategory(diag::Area area, diag::Level level, std::string_view message) {
  const QLoggingCategory& c = CategoryOf(area);
  const QString text = QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()));
  switch (level) {
    case diag::Level::Debug:
      qCDebug(c).noquote() << text;
      break;
    case diag::Level::Info:
      qCInfo(c).noquote() << text;
      break;
    case diag::Level::Warning:
      qCWarning(c).noquote() << text;
      break;
  }
}
}  // namespace

void Install() {
  diag::SetSink(&ToCategory);
}
}  // namespace logging
