// Phone book editor: open any file, edit a letter, save, and the file reloads to the same table.
#include "editor/PhoneBookEditor.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int letter = data[0] % 46;  // 0 and 45 are outside the index: ReadList ignores them
  const int op = data[1];
  const std::string path = fuzz::Scratch() + "Teldat1.tel";
  const std::string original(reinterpret_cast<const char*>(data + 2), size - 2);
  fuzz::Put(path, original);
  PhoneBookEditor e;
  const auto opened = e.Open(path);
  e.ReadList(letter);
  if (e.CurrentLetter() != 0) {
    switch (op % 5) {
      case 0:
        (void)e.Add("新しい 03-1234-5678");
        break;
      case 1:
        e.Select(0);
        (void)e.Modify("changed");
        break;
      case 2:
        e.Select(0);
        (void)e.Delete();
        break;
      case 3:
        e.Select(1);
        (void)e.MoveUp();
        break;
      default:
        e.Select(0);
        (void)e.MoveDown();
        break;
    }
  }
  e.ReadList(letter == 44 ? 1 : letter + 1);
  e.SetMaster();
  const auto master = e.Master();
  const bool saved = static_cast<bool>(e.Savedata(path));
  if (opened == PhoneBookEditor::OpenResult::Unreadable) {
    FUZZ_CHECK(!saved);
    FUZZ_CHECK(fuzz::Get(path) == original);  // never written back
    return 0;
  }
  FUZZ_CHECK(saved);
  PhoneBookEditor again;
  FUZZ_CHECK(again.Open(path) != PhoneBookEditor::OpenResult::Unreadable);
  FUZZ_CHECK(again.Master() == master);
  return 0;
}
