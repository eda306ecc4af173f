#include <QActionGroup>
#include <QApplication>
#include <QDBusMetaType>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "platform/Clipboard.h"
#include "platform/Log.h"
#include "platform/StatusNotifier.h"
#include "platform/TextFile.h"
#include "platform/Translation.h"
#include "platform/TrayIcon_linux.h"
#include "testsupport/FailingWrites.h"
#include "testsupport/MsgBoxRecorder.h"
#include "testsupport/QtHelpers.h"
#include "testsupport/TempDir.h"

class PlatformUiTest : public QObject {
  Q_OBJECT
 private slots:
  void trayActivationsBecomeMessageNumbers() {
    QCOMPARE(TrayIcon::MessageFor(QSystemTrayIcon::Trigger), 0x201);
    QCOMPARE(TrayIcon::MessageFor(QSystemTrayIcon::Context), 0x204);
    QCOMPARE(TrayIcon::MessageFor(QSystemTrayIcon::DoubleClick), 0x203);
    QCOMPARE(TrayIcon::MessageFor(QSystemTrayIcon::MiddleClick), 0x207);
  }

  void exportedMenuFollowsTheQMenuTree() {
    QMenu root;
    QMenu* sub = root.addMenu(QStringLiteral("表示切替(&C)"));
    auto* group = new QActionGroup(sub);
    QAction* one = sub->addAction(QStringLiteral("データ １"));
    QAction* two = sub->addAction(QStringLiteral("a_b"));
    for (QAction* a : {one, two}) {
      a->setCheckable(true);
      group->addAction(a);
    }
    one->setChecked(true);
    root.addSeparator();
    QAction* off = root.addAction(QStringLiteral("なし"));
    off->setEnabled(false);
    QAction* check = root.addAction(QStringLiteral("c"));
    check->setCheckable(true);

    sni::DBusMenu menu;
    menu.SetMenu(&root);
    sni::MenuLayoutItem l;
    QCOMPARE(menu.GetLayout(0, -1, {}, l), menu.Revision());
    QCOMPARE(l.id, 0);
    QCOMPARE(l.properties.value("children-display").toString(), QStringLiteral("submenu"));
    QCOMPARE(l.children.size(), 4);
    const sni::MenuLayoutItem& c = l.children[0];
    QCOMPARE(c.properties.value("label").toString(), QStringLiteral("表示切替(_C)"));
    QCOMPARE(c.properties.value("children-display").toString(), QStringLiteral("submenu"));
    QCOMPARE(c.children.size(), 2);
    QCOMPARE(c.children[0].properties.value("toggle-type").toString(), QStringLiteral("radio"));
    QCOMPARE(c.children[0].properties.value("toggle-state").toInt(), 1);
    QCOMPARE(c.children[1].properties.value("toggle-state").toInt(), 0);
    QCOMPARE(c.children[1].properties.value("label").toString(), QStringLiteral("a__b"));
    QCOMPARE(l.children[1].properties.value("type").toString(), QStringLiteral("separator"));
    QCOMPARE(l.children[2].properties.value("enabled"), QVariant(false));
    QVERIFY(!l.children[3].properties.contains("enabled"));
    QCOMPARE(l.children[3].properties.value("toggle-type").toString(), QStringLiteral("checkmark"));

    // Depth and property choice as asked; ids stay the same between calls.
    sni::MenuLayoutItem shallow;
    menu.GetLayout(0, 1, {QStringLiteral("label")}, shallow);
    QCOMPARE(shallow.children.size(), 4);
    QVERIFY(shallow.children[0].children.isEmpty());
    QCOMPARE(shallow.children[0].id, c.id);
    QCOMPARE(shallow.children[0].properties.keys(), QStringList{QStringLiteral("label")});
    sni::MenuLayoutItem part;
    menu.GetLayout(c.id, -1, {}, part);
    QCOMPARE(part.children.size(), 2);
    const sni::MenuItemPropertiesList props =
        menu.GetGroupProperties({c.children[1].id, 9999}, {QStringLiteral("label")});
    QCOMPARE(props.size(), 1);
    QCOMPARE(props[0].properties.value("label").toString(), QStringLiteral("a__b"));
    QCOMPARE(menu.GetProperty(l.children[2].id, "label").variant().toString(), QStringLiteral("なし"));
    // A property the item leaves unset answers with the protocol's default.
    QCOMPARE(menu.GetProperty(l.children[3].id, "enabled").variant(), QVariant(true));
    QCOMPARE(menu.GetProperty(l.children[3].id, "visible").variant(), QVariant(true));
    QCOMPARE(menu.GetProperty(l.children[3].id, "type").variant(), QVariant(QStringLiteral("standard")));
    QList<int> errors;
    menu.AboutToShowGroup({0, c.id, 9999}, errors);
    QCOMPARE(errors, QList<int>{9999});

    // Clicks run enabled commands only, after the reply; any change of the tree announces a new layout.
    QSignalSpy triggered(&root, &QMenu::triggered);
    QSignalSpy updated(&menu, &sni::DBusMenu::LayoutUpdated);
    const QDBusVariant none(QString{});
    menu.Event(l.children[2].id, "clicked", none, 0);  // disabled
    menu.Event(c.id, "clicked", none, 0);              // a submenu
    menu.Event(l.children[3].id, "hovered", none, 0);
    QCOMPARE(menu.EventGroup({{9999, "clicked", none, 0}}), QList<int>{9999});
    QVERIFY(PostedEventsHandled());
    QCOMPARE(triggered.size(), 0);
    menu.Event(l.children[3].id, "clicked", none, 0);
    QCOMPARE(triggered.size(), 0);
    QTRY_COMPARE(triggered.size(), 1);
    QVERIFY(check->isChecked());
    updated.clear();
    const uint before = menu.Revision();
    sub->addAction(QStringLiteral("new"));
    sub->addAction(QStringLiteral("newer"));
    QTRY_COMPARE(updated.size(), 1);  // one announcement for a burst of changes
    QVERIFY(menu.Revision() > before);
    QCOMPARE(updated[0][1].toInt(), 0);

    // Withdrawn: no items and no effect; a deleted action is forgotten.
    menu.SetAvailable(false);
    sni::MenuLayoutItem empty;
    menu.GetLayout(0, -1, {}, empty);
    QVERIFY(empty.children.isEmpty());
    menu.Event(l.children[3].id, "clicked", none, 0);
    QVERIFY(PostedEventsHandled());
    QCOMPARE(triggered.size(), 1);
    menu.SetAvailable(true);
    const int gone = l.children[3].id;
    delete check;
    QVERIFY(menu.GetGroupProperties({gone}, {}).isEmpty());
  }

  void panelsWithTwoLevelsGetTheThirdInline() {
    // root > row > letter > entries, and a plain submenu beside it.
    QMenu root;
    QMenu* row = root.addMenu(QStringLiteral("あ行(&A)"));
    QMenu* a = row->addMenu(QStringLiteral("あ"));
    QAction* entry = a->addAction(QStringLiteral("青木\t03-1111"));
    QAction* entry2 = a->addAction(QStringLiteral("_阿部"));
    QMenu* i = row->addMenu(QStringLiteral("い"));
    QAction* none = i->addAction(QStringLiteral("なし"));
    none->setEnabled(false);
    QMenu* options = root.addMenu(QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    options->addAction(QStringLiteral("DialnestPlus設定(&G)..."));

    sni::DBusMenu menu;
    menu.SetMenu(&root);
    sni::MenuLayoutItem three;
    menu.GetLayout(0, -1, {}, three);
    QCOMPARE(three.children[0].children.size(), 2);  // the letters, each its own submenu
    QCOMPARE(three.children[0].children[0].children.size(), 2);

    QSignalSpy updated(&menu, &sni::DBusMenu::LayoutUpdated);
    menu.SetInlineThirdLevel(true);
    QTRY_COMPARE(updated.size(), 1);
    sni::MenuLayoutItem two;
    menu.GetLayout(0, -1, {}, two);
    const sni::MenuLayoutItem& r = two.children[0];
    QCOMPARE(r.properties.value("children-display").toString(), QStringLiteral("submenu"));
    QStringList shape;
    for (const sni::MenuLayoutItem& c : r.children)
      shape << c.properties.value("label").toString() +
                   (c.properties.value("enabled", true).toBool() ? "" : " (off)") +
                   (c.children.isEmpty() ? "" : " +");
    QCOMPARE(shape, (QStringList{"あ (off)", "青木  03-1111", "__阿部", "い (off)", "なし (off)"}));
    QVERIFY(!r.children[0].properties.contains("children-display"));
    // The other submenus keep their shape; the entries keep their ids and copy as before.
    QCOMPARE(two.children[1].children.size(), 1);
    QCOMPARE(two.children[1].children[0].properties.value("label").toString(),
             QStringLiteral("DialnestPlus設定(_G)..."));
    QCOMPARE(r.children[1].id, three.children[0].children[0].children[0].id);
    QCOMPARE(menu.GetProperty(r.children[0].id, "enabled").variant(), QVariant(false));
    QSignalSpy chosen(a, &QMenu::triggered);
    menu.Event(r.children[0].id, "clicked", QDBusVariant(QString{}), 0);  // a heading does nothing
    menu.Event(r.children[2].id, "clicked", QDBusVariant(QString{}), 0);
    QTRY_COMPARE(chosen.size(), 1);
    QCOMPARE(chosen[0][0].value<QAction*>(), entry2);
    (void)entry;
  }

  void aLayoutTooBigForTheBusIsAnsweredByLevels() {
    // root > row > three letters of 1,000 entries each.
    QMenu root;
    QMenu* row = root.addMenu(QStringLiteral("あ行(&A)"));
    QList<QMenu*> letters;
    for (const char* l : {"あ", "い", "う"}) {
      QMenu* m = row->addMenu(QString::fromUtf8(l));
      for (int i = 0; i < 1000; ++i) m->addAction(QStringLiteral("entry %1").arg(i));
      letters << m;
    }
    sni::DBusMenu menu;
    menu.SetMenu(&root);
    menu.SetLayoutBudget(310000);  // room for two letters (about 147 kB each), not three
    sni::MenuLayoutItem whole;
    menu.GetLayout(0, -1, {}, whole);
    const auto& shown = whole.children[0].children;
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown[0].children.size(), 1000);
    QCOMPARE(shown[1].children.size(), 1000);
    QVERIFY(shown[2].children.isEmpty());  // left for when the panel opens it
    QCOMPARE(shown[2].properties.value("children-display").toString(), QStringLiteral("submenu"));
    // Asked for itself, a letter always comes whole.
    sni::MenuLayoutItem third;
    menu.GetLayout(shown[2].id, -1, {}, third);
    QCOMPARE(third.children.size(), 1000);
    QCOMPARE(third.children.last().properties.value("label").toString(), QStringLiteral("entry 999"));
  }

  void everyMethodOfTheMenuInterfaceIsExported() {
    // Qt D-Bus leaves out a method whose parameter type it cannot find by its declared name: every
    // parameter and result of every method and signal the menu exports must be known by that name.
    sni::RegisterTypes();
    const QMetaObject& mo = sni::DBusMenu::staticMetaObject;
    int exported = 0;
    for (int i = mo.methodOffset(); i < mo.methodCount(); ++i) {
      const QMetaMethod m = mo.method(i);
      if (m.methodType() != QMetaMethod::Slot && m.methodType() != QMetaMethod::Signal) continue;
      if (m.access() != QMetaMethod::Public) continue;
      ++exported;
      QList<QByteArray> types = m.parameterTypes();
      types << m.typeName();
      for (QByteArray t : types) {
        if (t.endsWith('&')) t.chop(1);  // an out parameter
        if (t == "void") continue;
        const QMetaType type = QMetaType::fromName(t);
        QVERIFY2(type.isValid(), (m.methodSignature() + " takes " + t).constData());
        QVERIFY2(QDBusMetaType::typeToSignature(type) != nullptr,
                 (m.methodSignature() + " takes " + t).constData());
      }
    }
    QVERIFY(exported >= 9);  // the protocol's eight methods and its signals
  }

  void wireSignaturesAreTheProtocols() {
    sni::RegisterTypes();
    auto sig = [](QMetaType t) { return QString::fromLatin1(QDBusMetaType::typeToSignature(t)); };
    QCOMPARE(sig(QMetaType::fromType<sni::MenuLayoutItem>()), QStringLiteral("(ia{sv}av)"));
    QCOMPARE(sig(QMetaType::fromType<sni::MenuItemPropertiesList>()), QStringLiteral("a(ia{sv})"));
    QCOMPARE(sig(QMetaType::fromType<sni::MenuItemKeysList>()), QStringLiteral("a(ias)"));
    QCOMPARE(sig(QMetaType::fromType<sni::MenuEventList>()), QStringLiteral("a(isvu)"));
    QCOMPARE(sig(QMetaType::fromType<sni::IconPixmapList>()), QStringLiteral("a(iiay)"));
    QCOMPARE(sig(QMetaType::fromType<sni::ToolTip>()), QStringLiteral("(sa(iiay)ss)"));
  }

  void withoutATrayItKeepsTryingQuietly() {
    if (QSystemTrayIcon::isSystemTrayAvailable()) QSKIP("a tray is available here");
    SessionTray tray(QIcon{}, nullptr);
    tray.Add();
    QVERIFY(tray.WaitingForTray());
    QVERIFY(!tray.IsShown());
    tray.Remove();
    QVERIFY(!tray.WaitingForTray());
  }

  void clipboardTakesTextUnchanged() {
    // Blanks at either end, a tab and '&' are the entry's own: copied as they are, and the copy says it
    // landed; a copy that lands tells the user nothing.
    QVERIFY(SetClipboardText(QStringLiteral("  山田\t03-1234 & co  ")));
    QCOMPARE(ClipboardText(), QStringLiteral("  山田\t03-1234 & co  "));
    MsgBoxRecorder rec;
    CopyToClipboard(QStringLiteral("次の行"));
    QCOMPARE(ClipboardText(), QStringLiteral("次の行"));
    QVERIFY(rec.records.isEmpty());
  }

  void theToolkitSpeaksJapanese() {
    QVERIFY(LoadToolkitTranslation(*QCoreApplication::instance()));
    QMessageBox yesNo(QMessageBox::Question, kAppTitle, QStringLiteral("質問"),
                      QMessageBox::Yes | QMessageBox::No);
    // As Windows shows them in Japanese: はい(Y) and いいえ(N), with their access keys.
    QCOMPARE(yesNo.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
    QCOMPARE(yesNo.button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
    QMessageBox okCancel(QMessageBox::Question, kAppTitle, QStringLiteral("x"),
                         QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(okCancel.button(QMessageBox::Ok)->text(), QStringLiteral("OK"));
    QCOMPARE(okCancel.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
    // The text box's own menu too.
    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (QAction* a : menu->actions()) texts << a->text();
    QVERIFY2(texts.join(' ').contains(QStringLiteral("貼り付け")), qPrintable(texts.join(' ')));
  }

  void aMessageOnScreenIsNotShownAgainAndBoxesDoNotPileUp() {
    auto boxes = [] {
      QList<QMessageBox*> out;
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) out << b;
      return out;
    };
    // The same message asked again while it waits (a panel's repeated click): not a second box.
    int visibleInside = -1;
    MsgResult nested = MsgResult::Yes;
    QTimer::singleShot(0, [&] {
      nested = MsgBox(QStringLiteral("郵便番号データファイルがありません"), MsgIcon::Error);
      visibleInside = static_cast<int>(boxes().size());
      boxes().first()->button(QMessageBox::Ok)->click();
    });
    QCOMPARE(MsgBox(QStringLiteral("郵便番号データファイルがありません"), MsgIcon::Error), MsgResult::Ok);
    QCOMPARE(nested, MsgResult::Ok);
    QCOMPARE(visibleInside, 1);

    // Different messages nest to eight boxes at most; the ninth question is answered "no change".
    QList<MsgResult> answers;
    int most = 0;
    std::function<void(int)> ask = [&](int n) {
      QTimer::singleShot(0, [&, n] {
        most = std::max(most, static_cast<int>(boxes().size()));
        if (n < 9) ask(n + 1);
        answers << MsgBox(QStringLiteral("質問 %1").arg(n), MsgIcon::Question, MsgButtons::YesNo);
        if (n == 9)
          for (QMessageBox* b : boxes()) b->button(QMessageBox::Yes)->click();
      });
    };
    ask(1);
    answers << MsgBox(QStringLiteral("質問 0"), MsgIcon::Question, MsgButtons::YesNo);
    QCOMPARE(most, 8);
    QCOMPARE(answers.size(), 10);
    QCOMPARE(answers.first(), MsgResult::No);  // the one that found eight boxes waiting
    QCOMPARE(answers.count(MsgResult::Yes), 8);
    QTRY_COMPARE(boxes().size(), 0);
  }

  void failedReadsAndRewritesAreLoggedWithPathStepAndReason() {
    static QStringList logged;
    logged.clear();
    logging::Install();
    QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& c, const QString& m) {
          if (type == QtWarningMsg) logged << QStringLiteral("%1: %2").arg(QString::fromUtf8(c.category), m);
        });
    TempDir dir;
    const std::string path = dir.File("Teldat1.tel");
    textfile::fault::Inject(textfile::Step::Sync);
    QVERIFY(!textfile::WriteAtomic(path, "x"));
    textfile::fault::Clear();
    QVERIFY(textfile::ReadAll(dir.Path()).status == textfile::ReadStatus::Error);             // a folder
    QVERIFY(textfile::ReadAll(dir.File("missing")).status == textfile::ReadStatus::Missing);  // not a failure
    qInstallMessageHandler(previous);
    QCOMPARE(logged, (QStringList{
                         QStringLiteral("dialnest.stores: cannot rewrite %1: sync failed: Input/output error")
                             .arg(QString::fromStdString(path)),
                         QStringLiteral("dialnest.stores: cannot read %1: not a regular file")
                             .arg(QString::fromStdString(dir.Path())),
                     }));
  }

  void msgBoxRecorderRecordsAndAnswers() {
    MsgBoxRecorder rec;
    rec.answers << MsgResult::No;
    QCOMPARE(MsgBox(QStringLiteral("質問"), MsgIcon::Question, MsgButtons::YesNo), MsgResult::No);
    QCOMPARE(MsgBox(QStringLiteral("x")), MsgResult::Ok);
    QCOMPARE(rec.records.size(), 2);
    QCOMPARE(rec.records[0].title, QStringLiteral("Dialnest Plus"));
    QCOMPARE(rec.records[0].icon, MsgIcon::Question);
  }
};

QTEST_MAIN(PlatformUiTest)
#include "PlatformUi_test.moc"
