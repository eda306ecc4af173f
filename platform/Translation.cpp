// Qt's own Japanese translation, loaded once at start-up.
#include "platform/Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "platform/Log.h"

bool LoadToolkitTranslation(QCoreApplication& app) {
  auto* translator = new QTranslator(&app);
  // Shipped beside the program (the Windows folder), else the toolkit's own.
  const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
  const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  // The whole interface is Japanese, whatever the desktop's language.
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  if (!translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"), beside) &&
      !translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"), dir)) {
    qCWarning(lcSession) << "Qt's Japanese translation (qtbase_ja.qm) is not in" << dir;
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}
