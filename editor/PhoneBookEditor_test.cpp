#include "editor/PhoneBookEditor.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include <filesystem>

#include "platform/Sjis.h"
#include "testsupport/TempDir.h"
#include "testsupport/TestFiles.h"
#include "testsupport/TestText.h"

using R = PhoneBookEditor::EditResult;
using V = std::vector<std::string>;

namespace {
struct Book {
  TempDir dir;
  PhoneBookEditor ed;
  std::string Path() const { return dir.File("Teldat1.tel"); }
  PhoneBookEditor::OpenResult Open(const std::string& bytes) {
    dir.Write("Teldat1.tel", bytes);
    return ed.Open(Path());
  }
  std::string SaveAndRead() {
    ed.SetMaster();
    EXPECT_TRUE(ed.Savedata(Path()));
    return dir.Read("Teldat1.tel");
  }
};
}  // namespace

TEST(EditorModel, NewBookGetsOneEntryAfterTheSixthMarker) {
  Book b;
  EXPECT_EQ(b.ed.Open(b.Path()), PhoneBookEditor::OpenResult::New);
  EXPECT_EQ(b.ed.Master(), V(44, "[D@TA]"));
  EXPECT_FALSE(b.dir.Exists("Teldat1.tel"));  // nothing is created by opening
  b.ed.ReadList(6);
  EXPECT_EQ(b.ed.Add("X"), R::Done);
  EXPECT_EQ(b.SaveAndRead(), Markers(6) + "X\r\n" + Markers(38));
  EXPECT_TRUE(b.ed.Master().empty());  // emptied by the save
}

TEST(EditorModel, UntouchedLinesStayExactlyWhereTheyWere) {
  Book b;
  std::string file =
      Sj("前書き\n[D@TA]\n阿部\n  安藤  \n[D@TA]\n[D@TA]\n上田\n") + "[D@TA]\n" + std::string(Markers(40));
  b.Open(file);
  b.ed.ReadList(3);
  EXPECT_EQ(b.ed.List(), V{"上田"});
  // LF-only input comes back with CR LF, every line otherwise the same.
  EXPECT_EQ(b.SaveAndRead(),
            Sj("前書き\r\n[D@TA]\r\n阿部\r\n  安藤  \r\n[D@TA]\r\n[D@TA]\r\n上田\r\n") + Markers(41));
}

TEST(EditorModel, AddKeepsBlanksAndRefusesBlankOrUnsafeText) {
  Book b;
  b.ed.Open(b.Path());
  EXPECT_EQ(b.ed.Add("x"), R::NotApplicable);  // no letter chosen yet
  b.ed.ReadList(1);
  EXPECT_EQ(b.ed.Add("  two blanks  "), R::Done);
  EXPECT_EQ(b.ed.Add("   "), R::NotApplicable);
  EXPECT_EQ(b.ed.Add("smile \xF0\x9F\x98\x80"), R::Unencodable);
  EXPECT_EQ(b.ed.Add("[D@TA]"), R::MarkerText);
  EXPECT_EQ(b.ed.Add(" [D@TA]"), R::Done);  // not a marker line
  EXPECT_EQ(b.ed.List(), (V{"  two blanks  ", " [D@TA]"}));
  EXPECT_EQ(b.SaveAndRead(), "[D@TA]\r\n  two blanks  \r\n [D@TA]\r\n" + Markers(43));
}

TEST(EditorModel, OperationsCheckTheirOwnPreconditions) {
  Book b;
  b.Open("[D@TA]\r\na\r\nb\r\nc\r\n" + Markers(43));
  b.ed.ReadList(1);
  EXPECT_EQ(b.ed.Modify("z"), R::NotApplicable);
  EXPECT_FALSE(b.ed.Delete());
  EXPECT_FALSE(b.ed.MoveUp());
  EXPECT_FALSE(b.ed.MoveDown());
  b.ed.Select(0);
  EXPECT_FALSE(b.ed.MoveUp());
  b.ed.Select(2);
  EXPECT_FALSE(b.ed.MoveDown());
  b.ed.Select(7);  // out of range: selection unchanged
  EXPECT_EQ(b.ed.Selected(), 2);
  EXPECT_EQ(b.ed.Modify("C "), R::Done);
  EXPECT_EQ(b.ed.Selected(), -1);
  b.ed.Select(1);
  EXPECT_TRUE(b.ed.Delete());
  EXPECT_EQ(b.ed.List(), (V{"a", "C "}));
  EXPECT_EQ(b.ed.Selected(), -1);
}

TEST(EditorModel, MovingDownTwiceAndUpTwiceRestoresTheOrder) {
  Book b;
  b.Open("[D@TA]\r\na\r\nb\r\nc\r\n" + Markers(43));
  b.ed.ReadList(1);
  b.ed.Select(0);
  ASSERT_TRUE(b.ed.MoveDown());
  EXPECT_EQ(b.ed.Selected(), 1);
  ASSERT_TRUE(b.ed.MoveDown());
  EXPECT_EQ(b.ed.List(), (V{"b", "c", "a"}));
  EXPECT_EQ(b.ed.Selected(), 2);
  ASSERT_TRUE(b.ed.MoveUp());
  ASSERT_TRUE(b.ed.MoveUp());
  EXPECT_EQ(b.ed.List(), (V{"a", "b", "c"}));
  EXPECT_EQ(b.ed.Selected(), 0);
}

TEST(EditorModel, ChangingLetterCommitsAndRechoosingReloads) {
  Book b;
  b.Open("[D@TA]\r\na\r\n" + Markers(43));
  b.ed.ReadList(1);
  b.ed.Add("new");
  b.ed.ReadList(2);
  EXPECT_TRUE(b.ed.List().empty());
  b.ed.ReadList(1);
  EXPECT_EQ(b.ed.List(), (V{"a", "new"}));
  b.ed.Select(1);
  b.ed.ReadList(1);
  EXPECT_EQ(b.ed.List(), (V{"a", "new"}));
  EXPECT_EQ(b.ed.Selected(), -1);
}

TEST(EditorModel, ShortFilesGetTheirMissingMarkersAndEmptyFilesStartNew) {
  Book b;
  EXPECT_EQ(b.Open("[D@TA]\r\na\r\n[D@TA]\r\n"), PhoneBookEditor::OpenResult::Loaded);
  b.ed.ReadList(44);
  b.ed.Add("わだ");
  EXPECT_EQ(b.SaveAndRead(), "[D@TA]\r\na\r\n" + Markers(43) + Sj("わだ") + "\r\n");

  Book e;
  EXPECT_EQ(e.Open(""), PhoneBookEditor::OpenResult::New);
  EXPECT_EQ(e.ed.Master(), V(44, "[D@TA]"));
}

TEST(EditorModel, LinesAfterAFortyFifthMarkerSurvive) {
  Book b;
  b.Open(Markers(45) + "stray\r\n");
  b.ed.ReadList(44);
  b.ed.Add("w");
  EXPECT_EQ(b.SaveAndRead(), Markers(44) + "w\r\n[D@TA]\r\nstray\r\n");
}

TEST(EditorModel, AFileThatCannotBeReadWhollyIsNeverOverwritten) {
  Book b;
  std::string damaged =
      "[D@TA]\r\nok\r\n\x82\x20"
      "bad\r\n" +
      Markers(43);
  EXPECT_EQ(b.Open(damaged), PhoneBookEditor::OpenResult::Unreadable);
  EXPECT_FALSE(b.ed.CanSave());
  b.ed.ReadList(1);
  b.ed.Add("x");
  b.ed.SetMaster();
  EXPECT_EQ(b.ed.Savedata(b.Path()).kind, StoreOutcome::Kind::NotReadCompletely);
  EXPECT_EQ(b.dir.Read("Teldat1.tel"), damaged);

  PhoneBookEditor folder;
  EXPECT_EQ(folder.Open(b.dir.Path()), PhoneBookEditor::OpenResult::Unreadable);
  EXPECT_FALSE(folder.CanSave());
}

TEST(EditorModel, AFailedSaveKeepsTheTableAndTheOldFile) {
  Book b;
  b.Open("[D@TA]\r\nold\r\n" + Markers(43));
  ::chmod(b.Path().c_str(), 0444);
  b.ed.ReadList(1);
  b.ed.Add("new");
  b.ed.SetMaster();
  const StoreOutcome refused = b.ed.Savedata(b.Path());
  EXPECT_EQ(refused.kind, StoreOutcome::Kind::WriteFailed);
  EXPECT_EQ(refused.write.error, EACCES);  // the cause the window names
  EXPECT_EQ(b.dir.Read("Teldat1.tel"), "[D@TA]\r\nold\r\n" + Markers(43));
  EXPECT_EQ(b.ed.Master().size(), 46u);
  ::chmod(b.Path().c_str(), 0644);
  EXPECT_TRUE(b.ed.Savedata(b.Path()));
  EXPECT_EQ(b.dir.Read("Teldat1.tel"), "[D@TA]\r\nold\r\nnew\r\n" + Markers(43));
}

TEST(EditorModel, ASavedBookThatIsALinkStaysALinkToTheNewContent) {
  Book b;
  std::filesystem::create_directory(b.dir.File("shared"));
  b.dir.Write("shared/book.tel", "[D@TA]\r\nold\r\n" + Markers(43));
  if (!testfiles::SymbolicLink("shared/book.tel", b.Path())) GTEST_SKIP() << testfiles::kNoLinks;
  ASSERT_EQ(b.ed.Open(b.Path()), PhoneBookEditor::OpenResult::Loaded);
  b.ed.ReadList(1);
  b.ed.Add("new");
  b.ed.SetMaster();
  ASSERT_TRUE(b.ed.Savedata(b.Path()));
  EXPECT_TRUE(std::filesystem::is_symlink(b.Path()));
  EXPECT_EQ(b.dir.Read("shared/book.tel"), "[D@TA]\r\nold\r\nnew\r\n" + Markers(43));
}
