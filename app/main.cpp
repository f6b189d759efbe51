// Process start of MorvaneX.
#include <windows.h>

#include "app/message_box.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    morvane::showMessageBox(nullptr, u"MorvaneX", morvane::MessageKind::Information);
    return 0;
}
