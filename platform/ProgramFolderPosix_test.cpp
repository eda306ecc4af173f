#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ProgramFolder.h"
#include "testsupport/TempDir.h"

TEST(ProgramFolder, PosixTakesAPortableFolderElseTheUsersDataFolder) {
  TempDir dir;
  auto yes = [](const std::string&) { return true; };
  auto no = [](const std::string&) { return false; };
  // A folder that holds the program's data and may be written: data beside the program.
  EXPECT_EQ(programfolder::ChoosePosix("/opt/dn", "/x/data", "/home/u", yes, yes), "/opt/dn/");
  // An installed program's folder, writable or not, holds no data: the user's data folder.
  const std::string xdg = dir.File("data");
  EXPECT_EQ(programfolder::ChoosePosix("/home/u/.local/bin", xdg, "/home/u", no, yes),
            xdg + "/dialnestplus/");
  EXPECT_EQ(programfolder::ChoosePosix("/usr/bin", xdg, "/home/u", no, no), xdg + "/dialnestplus/");
  // A portable folder the user may no longer write (a read-only copy) cannot keep the data either.
  EXPECT_EQ(programfolder::ChoosePosix("/mnt/cd", xdg, "/home/u", yes, no), xdg + "/dialnestplus/");
  EXPECT_TRUE(std::filesystem::is_directory(xdg + "/dialnestplus"));  // created on first start
  const std::string home = dir.File("home");
  EXPECT_EQ(programfolder::ChoosePosix("/usr/bin", "", home, no, no), home + "/.local/share/dialnestplus/");
  EXPECT_EQ(programfolder::ChoosePosix("/usr/bin", "relative/ignored", home, no, no),
            home + "/.local/share/dialnestplus/");
  EXPECT_TRUE(std::filesystem::is_directory(home + "/.local/share/dialnestplus"));
  dir.Write("file", "x");  // a data folder that cannot be made: the program folder all the same
  EXPECT_EQ(programfolder::ChoosePosix("/usr/bin", dir.File("file"), home, no, no), "/usr/bin/");
}

TEST(ProgramFolder, DataBesideTheProgramIsTheSettingsFileOrAPhoneBookInAnyCase) {
  TempDir dir;
  EXPECT_FALSE(programfolder::HoldsData(dir.Path()));
  dir.Write("ToDo.dat", "");  // not enough: the program's own files are the settings and the books
  EXPECT_FALSE(programfolder::HoldsData(dir.Path()));
  std::filesystem::create_directory(dir.File("dnstplus.ini"));  // a folder of that name is no file
  EXPECT_FALSE(programfolder::HoldsData(dir.Path()));
  dir.Write("TELDAT3.TEL", "");
  EXPECT_TRUE(programfolder::HoldsData(dir.Path()));
  TempDir other;
  other.Write("DnstPlus.INI", "");
  EXPECT_TRUE(programfolder::HoldsData(other.Path() + "/"));
}
