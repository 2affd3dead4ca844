// Starts Quorvane on Windows: its one window and the message loop. Exit, or
// closing the window, ends the program.
#include <windows.h>

#include <exception>

#include "Form1.h"

// The parameters keep the names Windows' header gives them.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPSTR /*lpCmdLine*/,
                   int nShowCmd) {
    try {
        Form1 form(hInstance);
        ShowWindow(form.handle(), nShowCmd);
        MSG message{};
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (!form.TranslateKeys(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        return 0;
    } catch (const std::exception& error) {  // the window could not be made
        MessageBoxA(nullptr, error.what(), "Quorvane", MB_OK | MB_ICONERROR);
        return 1;
    }
}
