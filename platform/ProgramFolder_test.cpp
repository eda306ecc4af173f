#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/TextFile.h"
#include "testsupport/TempDir.h"

TEST(ProgramFolder, WindowsTakesTheExecutablesFolderWhereWritableElseAppData) {
  auto yes = [](const std::string&) { return true; };
  auto no = [](const std::string&) { return false; };
  std::vector<std::string> made;
  auto make = [&made](const std::string& d) {
    made.push_back(d);
    return true;
  };
  // A portable folder the user may write: data beside the program, whatever the separators.
  EXPECT_EQ(programfolder::ChooseWindows("D:\\Tools\\Dialnest", "C:\\Users\\u\\AppData\\Roaming", yes, make),
            "D:\\Tools\\Dialnest/");
  EXPECT_TRUE(made.empty());
  // Installed under a folder the user may not write.
  EXPECT_EQ(programfolder::ChooseWindows("C:\\Program Files\\Dialnest Plus",
                                         "C:\\Users\\u\\AppData\\Roaming\\", no, make),
            "C:\\Users\\u\\AppData\\Roaming/Dialnest Plus/");
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(made[0], "C:\\Users\\u\\AppData\\Roaming/Dialnest Plus");
  // No application data folder, or one that cannot be made: the program's folder all the same.
  EXPECT_EQ(programfolder::ChooseWindows("C:\\P", "", no, make), "C:\\P/");
  EXPECT_EQ(programfolder::ChooseWindows("C:\\P", "C:\\A", no, [](const std::string&) { return false; }),
            "C:\\P/");
}

TEST(ProgramFolder, OneTrailingSeparator) {
  EXPECT_EQ(programfolder::WithOneSeparator("/a/b"), "/a/b/");
  EXPECT_EQ(programfolder::WithOneSeparator("/a/b//"), "/a/b/");
  EXPECT_EQ(programfolder::WithOneSeparator("C:\\a\\"), "C:\\a/");
  EXPECT_EQ(programfolder::WithOneSeparator(""), "/");
}

TEST(ProgramFolder, TheRunningProgramsFolderIsAWritableFolder) {
  const std::string exe = programfolder::ExecutableDir();
  EXPECT_NE(exe, ".");
  EXPECT_TRUE(programfolder::Writable(exe));  // the build tree
  TempDir dir;
  EXPECT_TRUE(programfolder::Writable(dir.Path()));
  EXPECT_FALSE(programfolder::Writable(dir.File("missing")));
}
