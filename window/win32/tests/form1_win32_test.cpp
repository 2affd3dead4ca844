// Drives the real Win32 window through its messages, as a user's clicks,
// keys and pastes reach it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <tuple>

#include "Form1.h"
// After windows.h, which it needs.
#include <commctrl.h>

#include "code_page_description.h"
#include "window_behaviour.h"

namespace {

std::vector<std::u16string> messages;  // each message box, closed as soon as it opens

void CALLBACK CloseMessageBoxes(HWND /*window*/, UINT /*message*/, UINT_PTR /*id*/, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND box, LPARAM) {
            wchar_t text[256] = {};
            GetClassNameW(box, text, 256);
            if (std::wstring(text) == L"#32770" && IsWindowVisible(box) != FALSE) {
                GetDlgItemTextW(box, 0xFFFF, text, 256);  // a message box's text
                messages.emplace_back(text, text + wcslen(text));
                SendMessageW(box, WM_COMMAND, IDOK, 0);
            }
            return TRUE;
        },
        0);
}

// The window as the shared checks drive it: clicks and keys are posted to a
// control, then delivered through the keys the window translates.
class Win32Driver : public WindowDriver {
    Form1& form;
    // The controls' names in the order of their IDs.
    const std::vector<std::string> names = {"Label1", "offset", "Label2",   "pointer", "Calculate",
                                            "Exit",   "Label4", "Label5",   "Option1", "Option2",
                                            "Label6", "word",   "Command1", "Label7",  "HV",
                                            "Label8", "Label3"};
    const std::map<std::string, WPARAM> keys = {
        {"Tab", VK_TAB}, {"Return", VK_RETURN}, {"Enter", VK_RETURN}, {"Esc", VK_ESCAPE}};

public:
    explicit Win32Driver(Form1& window) : form(window) {
        SetTimer(nullptr, 0, 10, CloseMessageBoxes);
    }
    void pump() const {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            if (form.handle() == nullptr || !form.TranslateKeys(message)) {
                DispatchMessageW(&message);
            }
        }
    }
    HWND control(const std::string& name) const {
        const auto named = std::find(names.begin(), names.end(), name);
        return GetDlgItem(form.handle(), control_id::Label1 + int(named - names.begin()));
    }

    void act(const std::string& action) override {
        if (keys.count(action) == 0) {
            PostMessageW(control(action), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
            PostMessageW(control(action), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        } else {  // Enter is on the keypad
            const LPARAM extended = action == "Enter" ? LPARAM{1} << 24 : 0;
            PostMessageW(GetFocus(), WM_KEYDOWN, keys.at(action), 1 | extended);
            PostMessageW(GetFocus(), WM_KEYUP, keys.at(action), 1 | extended | LPARAM{3} << 30);
        }
        pump();
    }
    void paste(const std::string& box, const std::u16string& text) override {
        SetWindowTextW(control(box), L"");
        const std::wstring wide(text.begin(), text.end());
        SendMessageW(control(box), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    std::u16string text(const std::string& box) override {
        std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(control(box))), u'\0');
        GetWindowTextW(control(box), reinterpret_cast<wchar_t*>(text.data()),
                       static_cast<int>(text.size()) + 1);
        return text;
    }
    std::pair<int, int> selection(const std::string& box) override {
        DWORD start = 0, end = 0;
        SendMessageW(control(box), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {int(start), int(end)};
    }
    std::string focused() override {
        const auto index = std::size_t(GetDlgCtrlID(GetFocus()) - control_id::Label1);
        return index < names.size() ? names[index] : "?";
    }
    std::vector<std::u16string> takeMessages() override { return std::exchange(messages, {}); }
};

// One window for all the tests, as Wine takes a while to withdraw a window
// from an X server with no window manager; the last test ends it.
class Form1Test : public ::testing::Test {
protected:
    static inline std::unique_ptr<Form1> form;
    static inline std::unique_ptr<Win32Driver> driver;

    static void SetUpTestSuite() {
        form = std::make_unique<Form1>(GetModuleHandleW(nullptr));
        driver = std::make_unique<Win32Driver>(*form);
        ShowWindow(form->handle(), SW_SHOW);
        driver->pump();
    }
    static void TearDownTestSuite() { form.reset(); }
};

// Texts past the 32767 characters a Windows text box takes by default (the
// word's codes three times as long); not far past, as Wine's text box takes
// seconds over every 40000 characters.
TEST_F(Form1Test, BehavesAsEveryWindow) {
    EXPECT_EQ(CheckBehaviour(*driver, u"kept", 33000, 11000), "");
}

// The window follows each desktop's colours as they change while it is
// open: its background as drawn, the captions' ink and the line read on it.
TEST_F(Form1Test, ReadsOnAnyDesktop) {
    const int elements[] = {COLOR_INACTIVECAPTIONTEXT, COLOR_WINDOWTEXT};
    const COLORREF saved[] = {GetSysColor(elements[0]), GetSysColor(elements[1])};
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), grey = RGB(200, 200, 200);
    const auto rgb = [](COLORREF c) { return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)}; };
    // Colour 19 and the text colour, then the window's background: colour 19
    // where the text reads on it, else the picture's blue or the night blue.
    const std::tuple<const char*, std::array<COLORREF, 2>, Rgb> rows[] = {
        {"Windows 10 and 11", {black, black}, {216, 228, 248}},
        {"Wine", {grey, black}, {200, 200, 200}},
        {"high contrast black", {white, white}, {30, 39, 56}},
        {"high contrast white", {black, black}, {216, 228, 248}},
    };
    for (const auto& [name, colours, expected] : rows) {
        SetSysColors(2, elements, colours.data());
        driver->pump();
        RedrawWindow(form->handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        HDC window = GetDC(form->handle());
        const Rgb background = rgb(GetPixel(window, 0, 0));
        const Rgb line = rgb(GetPixel(window, 100, MulDiv(kLine.top, 96, 1440)));
        SendMessageW(form->handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(window),
                     reinterpret_cast<LPARAM>(driver->control("Label1")));
        EXPECT_TRUE(background == expected) << name;
        EXPECT_GE(ContrastRatio(rgb(GetTextColor(window)), background), 4.5) << name;
        EXPECT_GE(ContrastRatio(line, background), 3) << name;
        ReleaseDC(form->handle(), window);
    }
    SetSysColors(2, elements, saved);
}

// The hex value box's tip says whose codes it gives, in the words every
// window uses.
TEST_F(Form1Test, SaysWhoseCodesItGives) {
    std::array<wchar_t, 256> text{};
    const auto box = reinterpret_cast<UINT_PTR>(driver->control("HV"));
    TTTOOLINFOW tool{sizeof tool, 0, form->handle(), box, {}, nullptr, text.data(), 0, nullptr};
    SendMessageW(FindWindowW(TOOLTIPS_CLASSW, nullptr),  // the window's one
                 TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
    const std::u16string shown(text.data(), text.data() + std::wcslen(text.data()));
    EXPECT_TRUE(shown == CodePageDescription(conversions::CodePageInUse()));
}

TEST_F(Form1Test, ExitEndsIt) {
    driver->act("Exit");
    EXPECT_EQ(form->handle(), nullptr);
}

}  // namespace
