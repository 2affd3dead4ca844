// A bare Win32 window, the measure of the Windows window's start-up: a
// class registered, a window of the same size created and shown, its
// messages run until it is closed.
#include <windows.h>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPWSTR /*lpCmdLine*/,
                    int nShowCmd) {
    WNDCLASSW type{};
    type.lpfnWndProc = Procedure;
    type.hInstance = hInstance;
    type.lpszClassName = L"Bare";
    RegisterClassW(&type);
    HWND window = CreateWindowExW(0, L"Bare", L"Bare window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 382, 362, nullptr, nullptr, hInstance, nullptr);
    ShowWindow(window, nShowCmd);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
