#include "core/PhoneBookFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/DataFiles.h"
#include "platform/Sjis.h"
#include "testsupport/TempDir.h"
#include "testsupport/TestFiles.h"
#include "testsupport/TestText.h"

using phonebook::LoadForMenus;
using V = std::vector<std::string>;

TEST(PhoneBookMenus, MarkersOnlyGiveEmptyLetters) {
  TempDir d;
  d.Write("Teldat1.tel", Markers(44));
  auto m = LoadForMenus(d.File("Teldat1.tel"));
  EXPECT_EQ(m.status, textfile::ReadStatus::Ok);
  EXPECT_EQ(m.stoppedAtLine, 0u);
  for (int k = 1; k <= 44; ++k) EXPECT_TRUE(m.entries[k].empty()) << k;
  EXPECT_EQ(datafiles::PhoneBook(3), "Teldat3.tel");
}

TEST(PhoneBookMenus, EntriesFollowTheirMarkerUnchanged) {
  TempDir d;
  d.Write("t.tel",
          Sj("[D@TA]\r\nA\r\n[D@TA]\r\n[D@TA]\r\n B \r\n\r\n山田\t03-1111 & 2\r\n [D@TA]\r\n[d@ta]\r\n"));
  auto m = LoadForMenus(d.File("t.tel"));
  EXPECT_EQ(m.entries[1], V{"A"});
  EXPECT_TRUE(m.entries[2].empty());
  EXPECT_EQ(m.entries[3], (V{" B ", "", "山田\t03-1111 & 2", " [D@TA]", "[d@ta]"}));
  EXPECT_TRUE(m.entries[4].empty());
  EXPECT_TRUE(m.decodedCleanly);
}

TEST(PhoneBookMenus, AcceptsCrOrLfLineEnds) {
  TempDir d;
  d.Write("t.tel", "[D@TA]\rone\r[D@TA]\ntwo\n");
  auto m = LoadForMenus(d.File("t.tel"));
  EXPECT_EQ(m.entries[1], V{"one"});
  EXPECT_EQ(m.entries[2], V{"two"});
}

TEST(PhoneBookMenus, StopsAtTheFirstLineOutsideTheFormatKeepingWhatCameBefore) {
  TempDir d;
  d.Write("before.tel", "stray\r\n[D@TA]\r\nA\r\n");
  auto before = LoadForMenus(d.File("before.tel"));
  EXPECT_EQ(before.stoppedAtLine, 1u);
  EXPECT_TRUE(before.entries[1].empty());

  d.Write("after.tel", "[D@TA]\r\nfirst\r\n" + Markers(43) + "last\r\n[D@TA]\r\nbeyond\r\n");
  auto after = LoadForMenus(d.File("after.tel"));
  EXPECT_EQ(after.entries[1], V{"first"});
  EXPECT_EQ(after.entries[44], V{"last"});
  EXPECT_EQ(after.stoppedAtLine, 48u);

  d.Write("fortyfive.tel", Markers(45));  // a 45th marker with nothing after it is harmless
  EXPECT_EQ(LoadForMenus(d.File("fortyfive.tel")).stoppedAtLine, 0u);
}

TEST(PhoneBookMenus, AHundredThousandLinesStopAtTheEntryLimit) {
  TempDir d;
  std::string big = "[D@TA]\r\n";
  for (int i = 0; i < 100000; ++i) big += "entry " + std::to_string(i) + "\r\n";
  big += "[D@TA]\r\nnever\r\n";
  d.Write("big.tel", big);
  auto m = LoadForMenus(d.File("big.tel"));
  ASSERT_EQ(m.entries[1].size(), 32767u);
  EXPECT_EQ(m.entries[1].back(), "entry 32766");
  EXPECT_EQ(m.stoppedAtLine, 32768u);
  EXPECT_TRUE(m.entries[2].empty());
}

TEST(PhoneBookMenus, InvalidBytesAndMissingFiles) {
  TempDir d;
  d.Write("bad.tel", "[D@TA]\r\nok\r\n\x82\x20x\r\nnext\r\n");
  auto m = LoadForMenus(d.File("bad.tel"));
  EXPECT_FALSE(m.decodedCleanly);
  EXPECT_EQ(m.entries[1], (V{"ok", "\xEF\xBF\xBD x", "next"}));
  EXPECT_EQ(LoadForMenus(d.File("none.tel")).status, textfile::ReadStatus::Missing);
}

TEST(PhoneBookFile, APipeOrFolderNamedLikeThePhoneBookIsUnreadableAtOnce) {
  TempDir d;
  const testfiles::UnreadableEntry pipe(d.File("Teldat1.tel"));  // open() would wait for a writer
  ASSERT_TRUE(pipe.Made());
  EXPECT_EQ(phonebook::LoadForMenus(d.File("Teldat1.tel")).status, textfile::ReadStatus::Error);
  std::filesystem::create_directory(d.File("Teldat2.tel"));
  EXPECT_EQ(phonebook::LoadForMenus(d.File("Teldat2.tel")).status, textfile::ReadStatus::Error);
}
