// Drives the real Win32 window through its messages, as a user's clicks,
// keys and pastes reach it.
#include <gtest/gtest.h>

#include "Form1.h"
// After windows.h:
#include <oleacc.h>

#include <algorithm>
#include <map>
#include <memory>

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
    const std::map<std::string, int> ids = {{"offset", control_id::offset},
                                            {"pointer", control_id::pointer},
                                            {"Calculate", control_id::Calculate},
                                            {"Exit", control_id::Exit},
                                            {"Label4", control_id::Label4},
                                            {"Label5", control_id::Label5},
                                            {"Option1", control_id::Option1},
                                            {"Option2", control_id::Option2},
                                            {"word", control_id::word},
                                            {"Command1", control_id::Command1},
                                            {"HV", control_id::HV}};
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
    HWND control(const std::string& name) const { return GetDlgItem(form.handle(), ids.at(name)); }

    void act(const std::string& action) override {
        if (ids.count(action) != 0) {
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
        const int id = GetDlgCtrlID(GetFocus());
        const auto named =
            std::find_if(ids.begin(), ids.end(), [&](auto& n) { return n.second == id; });
        return named != ids.end() ? named->first : "?";
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

TEST_F(Form1Test, CaptionsNameTheirControlsForScreenReaders) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::map<std::string, std::wstring> names = {
        {"offset", L"Offset"},  {"pointer", L"Pointer"}, {"Option1", L"Type 1"},
        {"Option2", L"Type 2"}, {"word", L"WORD"},       {"HV", L"HEX VALUE"}};
    for (const auto& [control, name] : names) {
        IAccessible* accessible = nullptr;
        AccessibleObjectFromWindow(driver->control(control), OBJID_CLIENT, IID_IAccessible,
                                   reinterpret_cast<void**>(&accessible));
        ASSERT_NE(accessible, nullptr);
        VARIANT self{};
        self.vt = VT_I4;  // CHILDID_SELF
        BSTR spoken = nullptr;
        accessible->get_accName(self, &spoken);
        EXPECT_EQ(std::wstring(spoken != nullptr ? spoken : L""), name);
        SysFreeString(spoken);
        accessible->Release();
    }
    CoUninitialize();
}

// The window follows each desktop's colours as they change while it is open,
// and every caption reads on it, and the line shows, measured from the
// rendered pixels.
TEST_F(Form1Test, CaptionsReadAndFitOnAnyDesktop) {
    const int elements[] = {COLOR_INACTIVECAPTIONTEXT, COLOR_WINDOWTEXT};
    const COLORREF saved[] = {GetSysColor(elements[0]), GetSysColor(elements[1])};
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), grey = RGB(200, 200, 200);
    const std::map<std::string, std::array<COLORREF, 2>> desktops = {
        {"Windows 10 and 11", {black, black}},
        {"Wine", {grey, black}},
        {"high contrast black", {white, white}},
        {"high contrast white", {black, black}}};
    for (const auto& desktop : desktops) {
        const auto& [name, colours] = desktop;
        SetSysColors(2, elements, colours.data());
        driver->pump();
        RedrawWindow(form->handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        HDC window = GetDC(form->handle());
        const auto rgb = [](COLORREF c) { return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)}; };
        const Rgb background = rgb(GetPixel(window, 0, 0));
        EXPECT_TRUE(background == ChooseCaptionColours(rgb(colours[0]), rgb(colours[1])).background)
            << name;
        const auto contrast = [&](RECT area) {  // the best of any pixel
            double best = 1;
            for (LONG y = area.top; y < area.bottom; ++y) {
                for (LONG x = area.left; x < area.right; ++x) {
                    best = std::max(best, ContrastRatio(rgb(GetPixel(window, x, y)), background));
                }
            }
            return best;
        };
        for (const ControlLayout& layout : kControls) {
            RECT place{};
            GetWindowRect(GetDlgItem(form->handle(), layout.id), &place);
            MapWindowPoints(nullptr, form->handle(), reinterpret_cast<POINT*>(&place), 2);
            EXPECT_TRUE(layout.kind != ControlKind::Label || contrast(place) >= 4.5)
                << name << ", caption " << layout.id;
        }
        const LONG line = MulDiv(kLine.top, 96, 1440);
        EXPECT_GE(contrast({0, line - 2, 374, line + 3}), 3) << name;
        ReleaseDC(form->handle(), window);
    }
    SetSysColors(2, elements, saved);

    // At 192 dots per inch, twice the size, and so is the font.
    const auto fontHeight = [&] {
        LOGFONTW font{};
        GetObjectW(
            reinterpret_cast<HFONT>(SendMessageW(driver->control("offset"), WM_GETFONT, 0, 0)),
            sizeof font, &font);
        return std::abs(font.lfHeight);
    };
    const LONG height96 = fontHeight();
    RECT suggested{0, 0, 100, 100};
    SendMessageW(form->handle(), WM_DPICHANGED, MAKEWPARAM(192, 192),
                 reinterpret_cast<LPARAM>(&suggested));
    RECT client{};
    GetClientRect(form->handle(), &client);
    EXPECT_TRUE(client.right == 748 && client.bottom == 658);
    EXPECT_GE(fontHeight(), 2 * height96 - 1);
}

TEST_F(Form1Test, ExitEndsIt) {
    driver->act("Exit");
    EXPECT_EQ(form->handle(), nullptr);
}

}  // namespace
