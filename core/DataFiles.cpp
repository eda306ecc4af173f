// The program's file names and how a name found in its folders is recognised.
#include "core/DataFiles.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/PhoneBookFile.h"

namespace datafiles {
namespace {
std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}
}  // namespace

std::string PhoneBook(int group) {
  return "Teldat" + std::to_string(group) + ".tel";
}

std::string ScheduleMonth(int year, int month) {
  const int months = year * 12 + (month - 1);
  const int y = months >= 0 ? months / 12 : (months - 11) / 12;
  const int m = months - y * 12 + 1;
  char buf[40];
  std::snprintf(buf, sizeof buf, "Sch%02d%02d.dat", ((y % 100) + 100) % 100, m);
  return std::string(kScheduleFolder) + "/" + buf;
}

bool IsFolderFile(std::string_view name) {
  const std::string n = Lower(name);
  for (std::string_view fixed : {kSettings, kTodo, kMemo, kPostal})
    if (n == Lower(fixed)) return true;
  for (int g = 1; g <= phonebook::kGroups; ++g)
    if (n == Lower(PhoneBook(g))) return true;
  return false;
}

bool IsScheduleMonthFile(std::string_view name) {
  const std::string b = Lower(name);
  return b.size() == 11 && b.substr(0, 3) == "sch" && b.substr(7) == ".dat" &&
         std::all_of(b.begin() + 3, b.begin() + 7, [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace datafiles
