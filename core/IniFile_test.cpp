#include "core/IniFile.h"
#include "testsupport/FailingWrites.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/Settings.h"
#include "platform/Sjis.h"
#include "platform/TextFile.h"
#include "testsupport/TempDir.h"
#include "testsupport/TestFiles.h"
#include "testsupport/TestText.h"

namespace {
const std::string kDefaultsFile =
    Sj("[Data]\r\nWidth=5595\r\nHeight=4400\r\nDATA1=グループ1\r\nDATA2=グループ2\r\nDATA3=グループ3\r\n"
       "DATA4=グループ4\r\nDATA5=グループ5\r\nClipen=False\r\nTopview=True\r\n");

struct Ini {
  TempDir dir;
  IniFile ini{dir.File("dnstplus.ini")};
  void Write(const std::string& bytes) { dir.Write("dnstplus.ini", bytes); }
  std::string Bytes() { return dir.Read("dnstplus.ini"); }
};
}  // namespace

TEST(FirstRun, MissingOrEmptyFileGetsTheNineDefaultsInOrder) {
  Ini a;
  EXPECT_TRUE(settings::ApplyFirstRunDefaults(a.ini).firstRun);
  EXPECT_EQ(a.Bytes(), kDefaultsFile);

  Ini b;
  b.Write("");
  EXPECT_TRUE(settings::ApplyFirstRunDefaults(b.ini).firstRun);
  EXPECT_EQ(b.Bytes(), kDefaultsFile);
}

TEST(FirstRun, AGroupNamed999IsNotAFirstRun) {
  Ini a;
  std::string file = Sj("[Data]\r\nWidth=7000\r\nDATA1=999\r\nClipen=True\r\n");
  a.Write(file);
  EXPECT_FALSE(settings::ApplyFirstRunDefaults(a.ini).firstRun);
  EXPECT_EQ(a.Bytes(), file);
  EXPECT_EQ(settings::Read(a.ini, "DATA1"), "999");
}

TEST(FirstRun, DefaultsGoIntoTheExistingFileKeepingEveryOtherLine) {
  Ini a;
  a.Write(Sj("; 利用者のメモ\r\n[Other]\r\nWidth=1\r\n\r\n[Data]\r\nUnknown=x\r\n\r\n[Tail]\r\nk=v\r\n"));
  EXPECT_TRUE(settings::ApplyFirstRunDefaults(a.ini).firstRun);
  EXPECT_EQ(a.Bytes(),
            Sj("; 利用者のメモ\r\n[Other]\r\nWidth=1\r\n\r\n[Data]\r\nUnknown=x\r\nWidth=5595\r\n"
               "Height=4400\r\nDATA1=グループ1\r\nDATA2=グループ2\r\nDATA3=グループ3\r\nDATA4=グループ4\r\n"
               "DATA5=グループ5\r\nClipen=False\r\nTopview=True\r\n\r\n[Tail]\r\nk=v\r\n"));
}

TEST(FirstRun, NoDataSectionAppendsOne) {
  Ini a;
  a.Write("[Other]\r\nDATA1=elsewhere\r\n");
  EXPECT_EQ(settings::Read(a.ini, "DATA1"), "999");  // a key of another section does not count
  EXPECT_TRUE(settings::ApplyFirstRunDefaults(a.ini).firstRun);
  EXPECT_EQ(a.Bytes(), "[Other]\r\nDATA1=elsewhere\r\n" + kDefaultsFile);
}

TEST(IniRead, SentinelForWhateverIsMissing) {
  Ini a;
  EXPECT_EQ(a.ini.Get("Data", "DATA1"), std::nullopt);
  EXPECT_EQ(settings::Read(a.ini, "DATA4"), "999");
  a.Write("[Data]\r\nDATA1=a\r\n");
  EXPECT_EQ(settings::Read(a.ini, "DATA4"), "999");
  EXPECT_EQ(settings::Read(a.ini, "DATA1"), "a");
}

TEST(IniRead, ToleratesTheShapesOtherWritersLeave) {
  Ini a;
  // LF-only, other case, blanks around '=', duplicate keys (first wins), a duplicate section, quotes.
  a.Write(Sj("[ data ]\ndata1 = 名前 \nDATA1=second\nclipen=\"True\"\n[Data]\nDATA2=later section\n"));
  EXPECT_EQ(a.ini.Get("Data", "DATA1"), "名前");
  EXPECT_EQ(a.ini.Get("DATA", "Clipen"), "True");
  EXPECT_EQ(a.ini.Get("Data", "DATA2"), std::nullopt);
  EXPECT_EQ(a.ini.Get("Data", "DATA1 "), std::nullopt);
}

TEST(IniRead, LongValuesAreCutAt127BytesNeverInsideACharacter) {
  Ini a;
  std::string seventyKanji;
  for (int i = 0; i < 70; ++i) seventyKanji += "漢";
  a.Write("[Data]\r\nA=" + std::string(200, 'x') + "\r\nK=" + Sj(seventyKanji) + "\r\nOdd=a" +
          Sj(seventyKanji) + "\r\nEven=ab" + Sj(seventyKanji) + "\r\nHuge=" + std::string(10000, 'y') +
          "\r\n");
  EXPECT_EQ(*a.ini.Get("Data", "A"), std::string(127, 'x'));
  EXPECT_EQ(*a.ini.Get("Data", "K"), seventyKanji.substr(0, 63 * 3));
  EXPECT_EQ(*a.ini.Get("Data", "Odd"), "a" + seventyKanji.substr(0, 63 * 3));    // 127 bytes exactly
  EXPECT_EQ(*a.ini.Get("Data", "Even"), "ab" + seventyKanji.substr(0, 62 * 3));  // 126: never half
  EXPECT_EQ(*a.ini.Get("Data", "Huge"), std::string(127, 'y'));
}

TEST(IniRead, InvalidBytesDoNotStopTheFile) {
  Ini a;
  a.Write("[Data]\r\nBad=\x82\x20x\xFF\r\nDATA1=ok\r\n");
  EXPECT_EQ(*a.ini.Get("Data", "DATA1"), "ok");
  EXPECT_EQ(*a.ini.Get("Data", "Bad"), "\xEF\xBF\xBD x\xEF\xBF\xBD");
}

TEST(IniWrite, ReplacesOnlyTheFirstMatchingLineAndKeepsForeignBytes) {
  Ini a;
  a.Write("[Data]\r\nBad=\x82\x20x\xFF\r\ndata1=old\r\nDATA1=dup\r\n;comment\r\n");
  ASSERT_TRUE(a.ini.Put("Data", "DATA1", "新しい名前"));
  EXPECT_EQ(a.Bytes(),
            "[Data]\r\nBad=\x82\x20x\xFF\r\n" + Sj("DATA1=新しい名前") + "\r\nDATA1=dup\r\n;comment\r\n");
  EXPECT_EQ(*a.ini.Get("Data", "DATA1"), "新しい名前");
}

TEST(IniWrite, RefusesWhatWouldDamageTheFileAndSaysWhy) {
  using Kind = IniFile::PutResult::Kind;
  Ini a;
  a.Write("[Data]\r\nDATA1=keep\r\n");
  IniFile::PutResult r =
      a.ini.Put("Data", "DATA1", "smile \xF0\x9F\x98\x80");  // not carried by code page 932
  EXPECT_FALSE(r);
  EXPECT_EQ(r.kind, Kind::Unencodable);
  EXPECT_EQ(r.key, "DATA1");
  r = a.ini.PutAll("Data", {{"DATA2", "ok"}, {"DATA3", "two\r\nlines"}});
  EXPECT_EQ(r.kind, Kind::Refused);
  EXPECT_EQ(r.key, "DATA3");
  EXPECT_EQ(a.Bytes(), "[Data]\r\nDATA1=keep\r\n");
  ::chmod(a.dir.File("dnstplus.ini").c_str(), 0444);
  r = a.ini.Put("Data", "DATA1", "x");
  EXPECT_EQ(r.kind, Kind::WriteFailed);
  EXPECT_EQ(r.write.step, textfile::Step::Create);
  EXPECT_EQ(r.write.error, EACCES);
  EXPECT_EQ(a.Bytes(), "[Data]\r\nDATA1=keep\r\n");
  ::chmod(a.dir.File("dnstplus.ini").c_str(), 0644);
  EXPECT_EQ(a.ini.Put("Data", "DATA1", "x").kind, Kind::Saved);
}

TEST(IniWrite, SwitchesMissingOrSentinelAreWrittenBackWithTheirDefault) {
  Ini a;
  a.Write("[Data]\r\nDATA1=g\r\nTopview=999\r\nOther=1\r\n");
  bool saved = true;
  EXPECT_EQ(settings::ReadSwitch(a.ini, settings::kClipen, saved).Text(), "False");
  EXPECT_EQ(settings::ReadSwitch(a.ini, settings::kTopview, saved).Text(), "True");
  EXPECT_EQ(a.Bytes(), "[Data]\r\nDATA1=g\r\nTopview=True\r\nOther=1\r\nClipen=False\r\n");
  a.Write("[Data]\r\nClipen=yes\r\n");
  EXPECT_EQ(settings::ReadSwitch(a.ini, settings::kClipen, saved).Text(), "yes");
  EXPECT_EQ(a.Bytes(), "[Data]\r\nClipen=yes\r\n");
  EXPECT_TRUE(saved);
  ::chmod(a.dir.File("dnstplus.ini").c_str(), 0444);
  EXPECT_EQ(settings::ReadSwitch(a.ini, settings::kTopview, saved).Text(),
            "True");  // still the default in memory
  EXPECT_FALSE(saved);
}

TEST(IniWrite, EveryFailedStepOfARewriteKeepsTheFileAndSaysSo) {
  namespace fault = textfile::fault;
  for (auto step : {fault::Step::Write, fault::Step::Sync, fault::Step::Rename}) {
    Ini a;
    a.Write("[Data]\r\nDATA1=keep\r\n");
    fault::Inject(step);
    EXPECT_FALSE(a.ini.Put("Data", "DATA1", "new"));
    fault::Clear();
    EXPECT_EQ(a.Bytes(), "[Data]\r\nDATA1=keep\r\n");
  }
  Ini b;  // a first run whose third write fails reports it, and keeps what was written before
  fault::Inject(fault::Step::Write, 3);
  settings::FirstRun r = settings::ApplyFirstRunDefaults(b.ini);
  fault::Clear();
  EXPECT_TRUE(r.firstRun);
  EXPECT_FALSE(r.saved);
  EXPECT_EQ(b.Bytes(), Sj("[Data]\r\nWidth=5595\r\nHeight=4400\r\nDATA2=グループ2\r\nDATA3=グループ3\r\n"
                          "DATA4=グループ4\r\nDATA5=グループ5\r\nClipen=False\r\nTopview=True\r\n"));
}

TEST(IniWrite, AFolderThatRefusesNewFilesStillGetsTheSettingsUpdated) {
  Ini a;
  a.Write("[Data]\r\nDATA1=old\r\nTail=1\r\n");
  textfile::fault::Inject(textfile::fault::Step::Create);  // no temporary file may be made there
  ASSERT_TRUE(a.ini.Put("Data", "DATA1", "new"));
  textfile::fault::Clear();
  EXPECT_EQ(a.Bytes(), "[Data]\r\nDATA1=new\r\nTail=1\r\n");
}

TEST(IniWrite, ALinkedSettingsFileIsUpdatedThroughTheLink) {
  Ini a;
  a.dir.Write("shared.ini", "[Data]\r\nDATA1=old\r\n");
  if (!testfiles::SymbolicLink(a.dir.File("shared.ini"), a.dir.File("dnstplus.ini")))
    GTEST_SKIP() << testfiles::kNoLinks;
  ASSERT_TRUE(a.ini.Put("Data", "DATA1", "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(a.dir.File("dnstplus.ini")));
  EXPECT_EQ(a.dir.Read("shared.ini"), "[Data]\r\nDATA1=new\r\n");
}

TEST(IniRead, APipeNamedLikeTheSettingsFileIsUnreadableAtOnce) {
  Ini a;
  const testfiles::UnreadableEntry pipe(a.dir.File("dnstplus.ini"));
  ASSERT_TRUE(pipe.Made());
  EXPECT_EQ(settings::Read(a.ini, "DATA1"), "999");
  EXPECT_EQ(a.ini.Put("Data", "DATA1", "x").kind,
            IniFile::PutResult::Kind::NotReadCompletely);  // never replaced
  EXPECT_FALSE(settings::ApplyFirstRunDefaults(a.ini).saved);
}

TEST(EditorSize, StoredSizeOrTheDefaultForWhatIsMissingOrDamaged) {
  TempDir d;
  const IniFile ini(d.File("dnstplus.ini"));
  EXPECT_EQ(settings::ReadEditorSize(ini).width, 5595);  // no file
  EXPECT_EQ(settings::ReadEditorSize(ini).height, 4400);
  d.Write("dnstplus.ini", "[Data]\r\nWidth= 6000 \r\nHeight=abc\r\n");
  EXPECT_EQ(settings::ReadEditorSize(ini).width, 6000);
  EXPECT_EQ(settings::ReadEditorSize(ini).height, 4400);
  d.Write("dnstplus.ini", "[Data]\r\nWidth=-5\r\nHeight=12x\r\n");
  EXPECT_EQ(settings::ReadEditorSize(ini).width, 5595);
  EXPECT_EQ(settings::ReadEditorSize(ini).height, 4400);
  ASSERT_TRUE(settings::WriteEditorSize(ini, {7000, 5000}));
  EXPECT_EQ(d.Read("dnstplus.ini"), "[Data]\r\nWidth=7000\r\nHeight=5000\r\n");
}

TEST(IniWrite, SeveralKeysGoInOneRewriteAllOrNothing) {
  TempDir d, e;
  const std::string start = "; keep\r\n[Data]\r\nDATA1=a\r\n\r\n[Other]\r\nx=1\r\n";
  d.Write("dnstplus.ini", start);
  e.Write("dnstplus.ini", start);
  const IniFile one(d.File("dnstplus.ini")), all(e.File("dnstplus.ini"));
  const IniFile::KeyValues values{{"DATA1", "仕事"}, {"DATA2", "家族"}, {"Clipen", "True"}};
  for (const auto& [k, v] : values) ASSERT_TRUE(one.Put("Data", k, v));
  ASSERT_TRUE(all.PutAll("Data", values));
  EXPECT_EQ(e.Read("dnstplus.ini"), d.Read("dnstplus.ini"));  // the same bytes as one Put after another
  // A refused value or a failed write: nothing of the others either.
  const std::string before = e.Read("dnstplus.ini");
  EXPECT_FALSE(all.PutAll("Data", {{"DATA3", "ok"}, {"DATA4", "a\nb"}}));
  EXPECT_FALSE(all.PutAll("Data", {{"DATA3", "ok"}, {"DATA4", "😀"}}));
  textfile::fault::Inject(textfile::fault::Step::Rename);
  EXPECT_FALSE(all.PutAll("Data", {{"DATA3", "ok"}}));
  textfile::fault::Clear();
  EXPECT_EQ(e.Read("dnstplus.ini"), before);
}
