// Quorvane's one window on Windows, in the platform's own controls: the
// pointer calculator above the line, the word-to-hex encoder below it.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "caption_colours.h"
#include "error_messages.h"
#include "form_layout.h"
#include "gdi.h"

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
    // A fixed frame: the layout is drawn for one size.
    static constexpr DWORD kStyle =
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(int id, int code);

    [[nodiscard]] HWND control(int id) const { return GetDlgItem(window, id); }
    void createControls();
    void describePointer();

    // Layout and DPI (form_layout.cpp).
    [[nodiscard]] int pixels(int twips) const { return MulDiv(twips, static_cast<int>(dpi), 1440); }
    [[nodiscard]] RECT pixelRect(const Twips& place) const;
    // Places every control and sizes the window and its font for `newDpi`.
    void layOut(UINT newDpi);
    void loadIcons();
    void chooseFont();

    // Colours and painting (form_paint.cpp).
    void applyCaptionColours();
    LRESULT colourCaption(HDC canvas) const;  // WM_CTLCOLORSTATIC
    void eraseBackground(HDC canvas) const;
    void paint();
    void selectOption(int selected, int cleared);

    template <typename Work>
    void runReportingErrors(int inputId, Tool tool, Work&& work);

    HINSTANCE instance;
    HWND window = nullptr;
    HWND toolTip = nullptr;
    HWND lastFocus = nullptr;
    UINT dpi = USER_DEFAULT_SCREEN_DPI;
    Gdi<HFONT> font;
    Gdi<HBRUSH> background;
    CaptionColours colours;
    std::array<Gdi<HBITMAP>, 2> pictures;  // at 96 and at 192 dots per inch
    std::array<Icon, 2> icons;             // the title bar's and the task bar's, at this DPI
    std::wstring pointerDescription;
    std::wstring codePageDescription;
};
