// The settings file's name, section, keys with their defaults, and the start-up rules over them.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/DataFiles.h"
#include "core/IniFile.h"

namespace settings {

inline constexpr std::string_view kFileName = datafiles::kSettings;
inline constexpr std::string_view kSection = "Data";
// What a read of a missing key gives.
inline constexpr std::string_view kMissing = "999";

// The keys, each named once.
inline constexpr std::string_view kWidth = "Width";
inline constexpr std::string_view kHeight = "Height";
inline constexpr std::string_view kClipen = "Clipen";    // copy a chosen entry to the clipboard
inline constexpr std::string_view kTopview = "Topview";  // the organiser stays on top
// "DATA<n>": the name of group n.
std::string GroupKey(int group);

struct Default {
  std::string_view key, value;
};

// In the order a first run writes them.
inline constexpr std::array<Default, 9> kDefaults{{
    {kWidth, "5595"},
    {kHeight, "4400"},
    {"DATA1", "グループ1"},
    {"DATA2", "グループ2"},
    {"DATA3", "グループ3"},
    {"DATA4", "グループ4"},
    {"DATA5", "グループ5"},
    {kClipen, "False"},
    {kTopview, "True"},
}};
// The default of a key in kDefaults (empty for any other).
std::string_view DefaultOf(std::string_view key);

// A switch as this run holds it: the text the file held (written back as it was) and what it means,
// read once ("True" in any case, or a number other than 0, is on).
class Switch {
 public:
  Switch() = default;
  explicit Switch(std::string text);
  static Switch Of(bool on) { return Switch(on ? "True" : "False"); }
  const std::string& Text() const { return text_; }
  bool On() const { return on_; }
  bool operator==(const Switch& other) const { return text_ == other.text_; }

 private:
  std::string text_ = "False";
  bool on_ = false;
};

// The value, or the sentinel "999" when the file, the section or the key is missing.
std::string Read(const IniFile& ini, std::string_view key);

// A first run is recognised by DATA1 being absent (a group really named "999" is not a first run);
// then all nine defaults are written in order.
struct FirstRun {
  bool firstRun = false;
  bool saved = true;  // false when some default could not be written
};
FirstRun ApplyFirstRunDefaults(const IniFile& ini);

// The value of a switch key (kClipen, kTopview); one that reads as the sentinel is written back with its
// default, which is returned; `saved` turns false when that write fails.
Switch ReadSwitch(const IniFile& ini, std::string_view key, bool& saved);

// The phone book editor's stored outer size in twips (Width, Height). A value that is missing (the
// sentinel would give a window 999 twips wide), not a number or not above 0 gives the default.
struct EditorSize {
  int width = 5595;
  int height = 4400;
};
EditorSize ReadEditorSize(const IniFile& ini);
[[nodiscard]] bool WriteEditorSize(const IniFile& ini, EditorSize size);

// The quick-find window's global shortcut (FindKey), in Qt's portable text ("Ctrl+Alt+F"); empty when
// switched off. A file without the key gives the default and is not written to.
inline constexpr std::string_view kFindKey = "FindKey";
inline constexpr std::string_view kFindKeyDefault = "Ctrl+Alt+F";
std::string ReadFindKey(const IniFile& ini);

}  // namespace settings
