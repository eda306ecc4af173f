// Help: "Dnstplus.hlp" in the data folder first, the installed page next, a message last.
#include "core/Help.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "platform/Desktop.h"
#include "platform/MsgBox.h"

namespace help {

QString Page() {
  // Beside the program in a build or portable folder; under share/ in an installed tree.
  const QString exeDir = QCoreApplication::applicationDirPath();
  for (const QString& candidate : {exeDir + QStringLiteral("/dialnestplus-help.html"),
                                   exeDir + QStringLiteral("/../share/dialnestplus/dialnestplus-help.html")})
    if (QFileInfo::exists(candidate)) return QFileInfo(candidate).canonicalFilePath();
  return {};
}

void Open(const AppContext& ctx) {
  const QString page = Page();
  auto openPage = [page] {
    if (page.isEmpty()) {
      MsgBox(QStringLiteral("ヘルプを開けませんでした"), MsgIcon::Error);
      return;
    }
    desktop::Open(page, [page] {
      MsgBox(QStringLiteral("ヘルプを表示するプログラム（ブラウザ）が見つかりませんでした\n"
                            "ヘルプは次のファイルです：\n%1")
                 .arg(QDir::toNativeSeparators(page)),
             MsgIcon::Information);
    });
  };
  const QString hlp = QString::fromStdString(ctx.DataPath("Dnstplus.hlp"));
  if (QFileInfo::exists(hlp))
    desktop::Open(hlp, openPage);
  else
    openPage();
}

}  // namespace help
