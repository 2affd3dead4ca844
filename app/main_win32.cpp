// Starts Quorvane on Windows: its one window and the message loop. Exit, or
// closing the window, ends the program.
#include <windows.h>

#include "Form1.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int show) {
    Form1 form(instance);
    ShowWindow(form.handle(), show);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!form.TranslateKeys(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
