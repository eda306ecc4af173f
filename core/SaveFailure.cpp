// The failed-save texts and question, one shape for every window.
#include "core/SaveFailure.h"

#include "platform/MsgBox.h"

QString WhyNotSaved(const StoreOutcome& o, const QString& file, const QString& refused) {
  switch (o.kind) {
    case StoreOutcome::Kind::NotReadCompletely:
      return QStringLiteral("%1を正しく読み込めなかったため、上書きしません").arg(file);
    case StoreOutcome::Kind::Refused:
    case StoreOutcome::Kind::Unencodable:
      if (!refused.isEmpty()) return refused;
      break;
    default:
      break;
  }
  return WithReason(QStringLiteral("%1に書き込めませんでした").arg(file), o.write.error);
}

bool GiveUpChanges(const QString& headline, const QString& why, const QString& question) {
  const QString text = headline.isEmpty() ? why + QLatin1Char('\n') + question
                                          : headline + QLatin1Char('\n') + why + QLatin1Char('\n') + question;
  return MsgBox(text, MsgIcon::Question, MsgButtons::YesNo) == MsgResult::Yes;
}
