// Waking the Windows screen saver: a running one ends on input, and the display is asked to stay on.
#include <windows.h>

#include "platform/ScreenSaver.h"

namespace screensaver {

void Wake() {
  BOOL running = FALSE;
  if (!SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0) || !running) return;
  // A zero mouse move counts as the user's input and ends the saver without moving the pointer.
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof input);
  SetThreadExecutionState(ES_DISPLAY_REQUIRED);
}

}  // namespace screensaver
