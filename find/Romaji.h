// What the matcher (PhoneFind.cpp) and the romaji speller (Romaji.cpp) share; not for other callers,
// whose romaji is RomajiSpellings in PhoneFind.h.
#pragma once

#include <string>
#include <string_view>

namespace phonefind {

// The vowel a kana ends in, or 0 (ん, っ, signs).
char VowelOf(char16_t c);
// The first kana of every spelling that begins with `tail`, っ where the tail could double and ん where
// it could stand for one.
std::u16string KanaStartingWith(std::string_view tail);
// A macron or circumflex vowel (either case) as the vowel and '^'; nullptr for any other character.
const char* LongVowel(char16_t c);

// Folded text without the blanks at either end.
std::u16string Trimmed(const std::u16string& s);
bool IsSpace(char16_t c);

}  // namespace phonefind
