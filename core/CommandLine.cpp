// Reading the command line into a request, and the --help and --version texts.
#include "core/CommandLine.h"

namespace commandline {

Request Parse(const std::vector<std::string>& args) {
  Request r;
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") return {Action::Help, {}};
    if (a == "--version" || a == "-v") return {Action::Version, {}};
  }
  for (const std::string& a : args) {
    if (a == "--find")
      r.action = Action::Find;
    else if (a == "--organizer" || a == "--organiser")
      r.action = Action::Organizer;
    else if (a.rfind("--", 0) == 0)
      return {Action::Error, a};
  }
  return r;
}

std::string HelpText(bool japanese) {
  if (japanese)
    return "使い方: dialnestplus [オプション]\n"
           "タスクトレイに常駐する電話帳・スケジュール帳です。すでに起動しているときは、\n"
           "起動中のプログラムに指示を渡して終わります。\n"
           "\n"
           "  --find        クイック検索のウィンドウを開く\n"
           "  --organizer   カレンダー（スケジュール・ToDo・メモ）を開く\n"
           "  --help        この説明を表示して終わる\n"
           "  --version     バージョンを表示して終わる\n";
  return "Usage: dialnestplus [option]\n"
         "A phone book and organiser that lives in the system tray. When it already runs, a new start\n"
         "hands its request to the running program and ends.\n"
         "\n"
         "  --find        open the quick-find window\n"
         "  --organizer   open the organiser (calendar, schedule, ToDo, memo)\n"
         "  --help        print this help and exit\n"
         "  --version     print the version and exit\n";
}

std::string VersionText() {
  return std::string("Dialnest Plus ") + kVersion + "\n";
}

std::string UnknownOptionText(const std::string& option, bool japanese) {
  return japanese ? "dialnestplus: 知らないオプションです: " + option +
                        "\n「dialnestplus --help」で使い方を表示します。\n"
                  : "dialnestplus: unknown option: " + option + "\nTry 'dialnestplus --help'.\n";
}

}  // namespace commandline
