#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ProgramFolder.h"
#include "testsupport/TempDir.h"

TEST(ProgramFolder, PosixTakesTheExecutablesFolderWhereWritableElseTheUsersDataFolder) {
  TempDir dir;
  auto yes = [](const std::string&) { return true; };
  auto no = [](const std::string&) { return false; };
  EXPECT_EQ(programfolder::ChoosePosix("/opt/dn", "/x/data", "/home/u", yes), "/opt/dn/");
  const std::string xdg = dir.File("data");
  EXPECT_EQ(programfolder::ChoosePosix("/usr/bin", xdg, "/home/u", no), xdg + "/dialnestplus/");
  EXPECT_TRUE(std::filesystem::is_directory(xdg + "/dialnestplus"));  // created on first start
  const std::string home = dir.File("home");
  EXPECT_EQ(programfolder::ChoosePosix("/usr/bin", "", home, no), home + "/.local/share/dialnestplus/");
  EXPECT_EQ(programfolder::ChoosePosix("/usr/bin", "relative/ignored", home, no),
            home + "/.local/share/dialnestplus/");
  EXPECT_TRUE(std::filesystem::is_directory(home + "/.local/share/dialnestplus"));
  dir.Write("file", "x");  // a data folder that cannot be made: the program folder all the same
  EXPECT_EQ(programfolder::ChoosePosix("/usr/bin", dir.File("file"), home, no), "/usr/bin/");
}
