// The kana index: 44 letters numbered 1..44 in ten rows, and the menu names that go with them.
#pragma once

#include <array>
#include <string_view>

namespace kana {

inline constexpr int kLetterCount = 44;

// The order that numbers the letters; the editor turns a letter into its number with it.
inline constexpr std::string_view kIndexString =
    "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわ";

struct Row {
  std::string_view name;     // row menu
  std::string_view caption;  // row menu caption with its access key
  int first;                 // kana index of the first letter
  int count;
};

inline constexpr std::array<Row, 10> kRows{{
    {"mnuA", "あ行(&A)", 1, 5},
    {"mnuK", "か行(&K)", 6, 5},
    {"mnuS", "さ行(&S)", 11, 5},
    {"mnut", "た行(&T)", 16, 5},
    {"mnuN", "な行(&N)", 21, 5},
    {"mnuH", "は行(&H)", 26, 5},
    {"mnuM", "ま行(&M)", 31, 5},
    {"mnuY", "や行(&Y)", 36, 3},
    {"mnuR", "ら行(&R)", 39, 5},
    {"mnuW", "わ行(&W)", 44, 1},
}};

// Letter submenu names, by kana index - 1.
inline constexpr std::array<std::string_view, kLetterCount> kLetterMenuNames{
    "mnuAA", "mnuAI", "mnuAU", "mnuAE", "mnuAO", "mnuKA", "mnuKI", "mnuKU", "mnuKE", "mnuKO", "mnuSA",
    "mnuSI", "mnuSU", "mnuSe", "mnuSO", "mnuTA", "mnuTI", "mnuTU", "mnute", "mnuTO", "mnuNA", "mnuNI",
    "mnuNU", "mnuNE", "mnuNO", "mnuHA", "mnuHI", "mnuHU", "mnuHE", "mnuHO", "mnuMA", "mnuMI", "mnuMU",
    "mnuME", "mnuMO", "mnuYA", "mnuYU", "mnuYO", "mnuRA", "mnuRI", "mnuRU", "mnuRE", "mnuRO", "mnuWA"};

// Entry item array names, by kana index - 1.
inline constexpr std::array<std::string_view, kLetterCount> kItemArrayNames{
    "mnuAAA", "mnuAAI", "mnuAAU", "mnuAAE", "mnuAAO", "mnuKAA", "mnuKII", "mnuKUU", "mnuKEE",
    "mnuKOO", "mnuSAA", "mnuSII", "mnuSUU", "mnuSEE", "mnuSOO", "mnuTAA", "mnuTII", "mnuTUU",
    "mnuTEE", "mnuTOO", "mnuNAA", "mnuNII", "mnuNUU", "mnuNEE", "mnuNOO", "mnuHAA", "mnuHII",
    "mnuHUU", "mnuHEE", "mnuHOO", "mnuMAA", "mnuMII", "mnuMUU", "mnuMEE", "mnuMOO", "mnuYAA",
    "mnuYUU", "mnuYOO", "mnuRAA", "mnuRII", "mnuRUU", "mnuREE", "mnuROO", "mnuWAA"};

// Every letter is one three-byte UTF-8 character.
inline constexpr std::string_view Letter(int index) {
  return kIndexString.substr(static_cast<std::size_t>(index - 1) * 3, 3);
}

// 1..44, or 0 for text that is not one of the letters.
inline int IndexOf(std::string_view letter) {
  if (letter.size() != 3) return 0;
  for (int i = 1; i <= kLetterCount; ++i)
    if (Letter(i) == letter) return i;
  return 0;
}

}  // namespace kana
