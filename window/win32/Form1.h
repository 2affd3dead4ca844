// Quorvane's one window on Windows, in the platform's own controls: the
// pointer calculator above the line, the word-to-hex encoder below it.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "caption_colours.h"
#include "error_messages.h"
#include "form_layout.h"

class Form1 {
public:
    // Creates the window, hidden, with the offset box focused.
    explicit Form1(HINSTANCE executable);
    ~Form1();

    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    [[nodiscard]] HWND handle() const { return window; }

    // For the message loop, before it dispatches a message: moves the focus
    // on Tab and the arrow keys, and presses the focused button on Enter.
    // True where the message was handled.
    bool TranslateKeys(MSG& message);

    void Calculate_Click();
    void Command1_Click();
    void Exit_Click();
    void Option1_Click();
    void Option2_Click();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(int id, int code);

    [[nodiscard]] HWND control(int id) const { return GetDlgItem(window, id); }
    [[nodiscard]] int pixels(int twips) const { return MulDiv(twips, static_cast<int>(dpi), 1440); }
    [[nodiscard]] RECT pixelRect(const Twips& place) const;
    void createControls();
    // Places every control and sizes the window and its font for `newDpi`.
    void layOut(UINT newDpi);
    void loadIcons();
    void chooseFont();
    void applyCaptionColours();
    void paint();
    void describePointer();
    void selectOption(int selected, int cleared);

    template <typename Work>
    void runReportingErrors(int inputId, Tool tool, Work&& work);

    HINSTANCE instance;
    HWND window = nullptr;
    HWND toolTip = nullptr;
    HWND lastFocus = nullptr;
    UINT dpi = USER_DEFAULT_SCREEN_DPI;
    HFONT font = nullptr;
    HBRUSH background = nullptr;
    CaptionColours colours;
    std::array<HBITMAP, 2> pictures{};  // at 96 and at 192 dots per inch
    std::array<HICON, 2> icons{};       // the title bar's and the task bar's, at this DPI
    std::wstring pointerDescription;
};
