// Loading one group's phone book into the ten row menus and their letter menus.
#include "core/PhoneMenu.h"

#include <QMenu>
#include <future>
#include <vector>

#include "core/PhoneBookFile.h"
#include "platform/Diag.h"
#include "platform/QtText.h"
#include "platform/Sjis.h"
#include "platform/TextFile.h"

PhoneMenu::PhoneMenu(QMenu* popup, QObject* parent) : QObject(parent) {
  for (const kana::Row& row : kana::kRows) {
    QMenu* rowMenu = popup->addMenu(Q(row.caption));
    rowMenu->setObjectName(Q(row.name));
    for (int k = row.first; k < row.first + row.count; ++k) {
      QMenu* letterMenu = rowMenu->addMenu(Q(kana::Letter(k)));
      letterMenu->setObjectName(Q(kana::kLetterMenuNames[static_cast<std::size_t>(k - 1)]));
      auto items = std::make_unique<MenuArray>(letterMenu, [this, k](int n) {
        emit EntryChosen(letters_[static_cast<std::size_t>(k - 1)]->Caption(n));
      });
      items->SetCaption(1, QStringLiteral("なし"));
      items->SetEnabled(1, false);
      letters_[static_cast<std::size_t>(k - 1)] = std::move(items);
    }
  }
}

PhoneMenu::~PhoneMenu() = default;

namespace {
// A phone book's entries as menu texts, per kana index (slot 0 unused).
using MenuTexts = std::array<std::vector<QString>, kana::kLetterCount + 1>;

// Decoded straight into the menus' UTF-16 texts: a big book makes no other copy of its entries.
MenuTexts ReadMenuTexts(const std::string& path) {
  MenuTexts texts;
  const textfile::Bytes file = textfile::ReadAll(path);
  if (file.status == textfile::ReadStatus::Error)
    diag::Report(diag::Area::Stores, diag::Level::Warning,
                 "phone book " + path + " could not be read: menus show none");
  if (file.status != textfile::ReadStatus::Ok) return texts;
  bool complete = true;
  phonebook::WalkForMenus(file.data, [&texts, &complete](int letter, std::string_view line) {
    QString text(static_cast<qsizetype>(line.size()), Qt::Uninitialized);
    const std::size_t n = sjis::DecodeUtf16(line, reinterpret_cast<char16_t*>(text.data()), complete);
    text.truncate(static_cast<qsizetype>(n));
    texts[static_cast<std::size_t>(letter)].push_back(std::move(text));
  });
  return texts;
}

struct Preloaded {
  std::string path;
  std::future<MenuTexts> texts;
};
Preloaded& Ahead() {
  static Preloaded p;
  return p;
}
// The file read ahead when it is the one asked for (taken once), else read now.
MenuTexts TakeMenuTexts(const std::string& path) {
  Preloaded& p = Ahead();
  if (p.texts.valid() && p.path == path) return p.texts.get();
  return ReadMenuTexts(path);
}
}  // namespace

void PhoneMenu::Preload(const std::string& path) {
  Preloaded& p = Ahead();
  p.path = path;
  p.texts = std::async(std::launch::async, ReadMenuTexts, path);
}

void PhoneMenu::Reload(const std::string& path) {
  Clear();
  MenuTexts texts = TakeMenuTexts(path);
  for (int k = 1; k <= kana::kLetterCount; ++k)
    letters_[static_cast<std::size_t>(k - 1)]->Fill(std::move(texts[static_cast<std::size_t>(k)]));
}

void PhoneMenu::Clear() {
  for (const std::unique_ptr<MenuArray>& items : letters_) {
    for (int n = items->Count(); n >= 2; --n) items->Unload(n);
    items->SetCaption(1, QStringLiteral("なし"));
    items->SetEnabled(1, false);
  }
}
