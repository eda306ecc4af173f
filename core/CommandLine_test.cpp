#include "core/CommandLine.h"

#include <gtest/gtest.h>

using commandline::Action;
using commandline::Parse;

TEST(CommandLine, WhatAStartAsksFor) {
  EXPECT_EQ(Parse({}).action, Action::Run);
  EXPECT_EQ(Parse({"--find"}).action, Action::Find);
  EXPECT_EQ(Parse({"--organizer"}).action, Action::Organizer);
  EXPECT_EQ(Parse({"--organiser"}).action, Action::Organizer);
  // Help and version win wherever they stand, also beside an unknown option.
  EXPECT_EQ(Parse({"--find", "--help"}).action, Action::Help);
  EXPECT_EQ(Parse({"--bogus", "-h"}).action, Action::Help);
  EXPECT_EQ(Parse({"--version"}).action, Action::Version);
  // The toolkit's own options pass; an unknown long option is named.
  EXPECT_EQ(Parse({"-platform", "xcb", "--find"}).action, Action::Find);
  const commandline::Request bad = Parse({"--find", "--fnid"});
  EXPECT_EQ(bad.action, Action::Error);
  EXPECT_EQ(bad.bad, "--fnid");
}

TEST(CommandLine, TextsNameEveryOptionInBothLanguages) {
  for (bool japanese : {true, false}) {
    const std::string help = commandline::HelpText(japanese);
    for (const char* option : {"--find", "--organizer", "--help", "--version"})
      EXPECT_NE(help.find(option), std::string::npos) << option;
    EXPECT_EQ(help.back(), '\n');
  }
  EXPECT_EQ(commandline::HelpText(true).rfind("使い方: dialnestplus", 0), 0u);
  EXPECT_EQ(commandline::HelpText(false).rfind("Usage: dialnestplus", 0), 0u);
  EXPECT_EQ(commandline::VersionText(), "Dialnest Plus 1.50\n");
  EXPECT_NE(commandline::UnknownOptionText("--x", true).find("--x"), std::string::npos);
}
