// Drives the real Win32 window through its messages, as a user's clicks,
// keys and pastes reach it.
#include <gtest/gtest.h>

#include "Form1.h"

#include <commctrl.h>
#include <oleacc.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Each message box, closed as soon as it opens.
std::vector<std::wstring> messages;

void CALLBACK CloseMessageBoxes(HWND /*window*/, UINT /*message*/, UINT_PTR /*timer*/,
                                DWORD /*time*/) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND box, LPARAM) {
            wchar_t className[16] = {};
            GetClassNameW(box, className, 16);
            if (std::wstring(className) == L"#32770" && IsWindowVisible(box) != FALSE) {
                wchar_t text[256] = {};
                GetDlgItemTextW(box, 0xFFFF, text, 256);  // a message box's text
                messages.emplace_back(text);
                SendMessageW(box, WM_COMMAND, IDOK, 0);
            }
            return TRUE;
        },
        0);
}

const std::map<std::wstring, int> kIds = {
    {L"offset", control_id::offset},
    {L"pointer", control_id::pointer},
    {L"Calculate", control_id::Calculate},
    {L"Exit", control_id::Exit},
    {L"Label4", control_id::Label4},
    {L"Label5", control_id::Label5},
    {L"Option1", control_id::Option1},
    {L"Option2", control_id::Option2},
    {L"word", control_id::word},
    {L"Command1", control_id::Command1},
    {L"HV", control_id::HV},
};
const std::map<std::wstring, UINT> kKeys = {
    {L"Tab", VK_TAB}, {L"Return", VK_RETURN}, {L"Enter", VK_RETURN}, {L"Esc", VK_ESCAPE}};

// One window for all the tests, as Wine takes a while to withdraw a window
// from an X server with no window manager; the last test ends it.
class Form1Test : public ::testing::Test {
protected:
    static inline std::unique_ptr<Form1> form;

    static void SetUpTestSuite() {
        SetTimer(nullptr, 0, 10, CloseMessageBoxes);
        form = std::make_unique<Form1>(GetModuleHandleW(nullptr));
        ShowWindow(form->handle(), SW_SHOW);
        SetForegroundWindow(form->handle());
        Pump();
    }

    static void TearDownTestSuite() { form.reset(); }

    void SetUp() override {  // as the window opens: Type 1, the offset box focused
        click(control_id::Option1);
        SetFocus(control(control_id::offset));
    }

    void TearDown() override {
        Pump();
        EXPECT_TRUE(messages.empty()) << Narrow(messages.empty() ? L"" : messages.front());
        messages.clear();
    }

    static std::string Narrow(const std::wstring& text) { return {text.begin(), text.end()}; }

    // Delivers what is queued, through the keys the window translates.
    static void Pump() {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            if (message.message != WM_QUIT &&
                (form == nullptr || form->handle() == nullptr || !form->TranslateKeys(message))) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }

    [[nodiscard]] HWND control(int id) const { return GetDlgItem(form->handle(), id); }

    [[nodiscard]] std::wstring text(int id) const {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control(id))) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(control(id), text.data(), static_cast<int>(text.size()))));
        return text;
    }

    // As a paste does: through the box's length limit.
    void paste(int id, const std::wstring& text) const {
        SetWindowTextW(control(id), L"");
        SendMessageW(control(id), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    }

    void click(int id) const {
        PostMessageW(control(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageW(control(id), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        Pump();
    }

    void key(UINT virtualKey, bool keypad = false) const {
        const LPARAM extended = keypad ? LPARAM{1} << 24 : 0;
        PostMessageW(GetFocus(), WM_KEYDOWN, virtualKey, 1 | extended);
        PostMessageW(GetFocus(), WM_KEYUP, virtualKey, 1 | extended | LPARAM{3} << 30);
        Pump();
    }

    [[nodiscard]] std::wstring focusName() const {
        for (const auto& [name, id] : kIds) {
            if (GetFocus() == control(id)) {
                return name;
            }
        }
        return L"?";
    }
};

struct ActionRow {
    const char* name;
    std::wstring offset, word;
    std::wstring actions;  // controls clicked and keys pressed, in turn
    std::wstring pointer;  // empty: not written
    std::wstring codes;    // empty: not written
};

// Each click or key writes its own box, or none, and keeps every other text
// whole; an overflow is reported and the window goes on. The long texts
// stay short of what the Windows edit control takes in a moment, as Wine's
// takes seconds for every 40000 characters and lays out in quadratic time.
TEST_F(Form1Test, ActionsWriteTheirBoxAndKeepTheOthers) {
    const std::wstring longWord(10923, L'A');  // 32769 characters of codes
    std::wstring longCodes;
    for (std::size_t i = 0; i < longWord.size(); ++i) {
        longCodes += L" 11";
    }
    const ActionRow rows[] = {
        {"Type 1", L"8123", L"", L"Calculate", L"1381", L""},
        {"Type 2 caption", L"8123", L"", L"Label5 Calculate", L"13C1", L""},
        {"Type 1 caption after Type 2", L"8123", L"", L"Option2 Label4 Calculate", L"1381", L""},
        {"first byte of the second bank", L"4010", L"", L"Calculate", L"80", L""},
        {"full-width digits", L"\uFF18\uFF11\uFF12\uFF13", L"", L"Calculate", L"1381", L""},
        {"above 7FFFFFFF", L"FFFFFFFF", L"", L"Calculate", L"overflow", L""},
        {"33000 characters pasted", std::wstring(33000, L'0'), L"", L"Calculate", L"overflow", L""},
        {"CALCULATE twice", L"", L"ONLY CAPITAL!", L"Command1 Command1", L"",
         L" 1F 1E 1C 29 FFF0 13 11 20 19 24 11 1C FFF1"},
        {"codes longer than 32767 characters", L"", longWord, L"Command1", L"", longCodes},
        {"Tab to Calculate, Enter", L"8123", L"", L"Tab Tab Return", L"1381", L""},
        {"Tab to CALCULATE, keypad Enter", L"", L"AB", L"Tab Tab Tab Tab Tab Tab Enter", L"",
         L" 11 12"},
        {"Enter and Escape in a box", L"8123", L"AB", L"Return Esc", L"", L""},
    };
    const std::wstring kept = L"kept";
    for (const ActionRow& row : rows) {
        SCOPED_TRACE(row.name);
        const std::pair<int, std::wstring> texts[] = {{control_id::offset, row.offset},
                                                      {control_id::pointer, kept},
                                                      {control_id::word, row.word},
                                                      {control_id::HV, kept}};
        for (const auto& [id, boxText] : texts) {
            paste(id, boxText);
        }
        SetUp();
        std::wistringstream actions(row.actions);
        for (std::wstring action; actions >> action;) {
            if (kIds.count(action) != 0) {
                click(kIds.at(action));
            } else {
                key(kKeys.at(action), action == L"Enter");
            }
        }
        const bool overflow = row.pointer == L"overflow";
        ASSERT_EQ(messages.size(), overflow ? 1U : 0U);
        if (overflow) {
            EXPECT_EQ(messages.front(),
                      L"Run-time error '6':\n\nOverflow\n\nThe offset must be a hex number no "
                      L"larger than 7FFFFFFF, typed in fewer than 32767 characters.");
            DWORD start = 1, end = 0;
            SendMessageW(control(control_id::offset), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            EXPECT_TRUE(GetFocus() == control(control_id::offset) && start == 0 &&
                        end == row.offset.size());
            messages.clear();
        }
        EXPECT_TRUE(text(control_id::offset) == row.offset);
        EXPECT_TRUE(text(control_id::pointer) ==
                    (row.pointer.empty() || overflow ? kept : row.pointer));
        EXPECT_TRUE(text(control_id::word) == row.word);
        EXPECT_TRUE(text(control_id::HV) == (row.codes.empty() ? kept : row.codes));
        if (!row.codes.empty()) {
            EXPECT_EQ(LOWORD(SendMessageW(control(control_id::HV), EM_GETSEL, 0, 0)), 0);
        }
        ASSERT_NE(form->handle(), nullptr);
    }
    paste(control_id::offset, L"10");  // and the window goes on
    click(control_id::Calculate);
    EXPECT_TRUE(text(control_id::pointer) == L"80");
}

TEST_F(Form1Test, TabFollowsTheLayoutAndEntersTheOptionsAtTheSelectedOne) {
    std::wstring visited;
    for (int step = 0; step < 8; ++step) {
        key(VK_TAB);
        visited += focusName() + L" ";
    }
    EXPECT_EQ(Narrow(visited), "pointer Calculate Exit Option1 word Command1 HV offset ");
    click(control_id::Label5);
    SetFocus(control(control_id::Exit));
    key(VK_TAB);
    EXPECT_EQ(Narrow(focusName()), "Option2");
}

TEST_F(Form1Test, PointerToolTipAndScreenReaderNames) {
    click(control_id::Calculate);
    wchar_t tip[80] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = form->handle();
    tool.uId = reinterpret_cast<UINT_PTR>(control(control_id::pointer));
    tool.lpszText = tip;
    HWND toolTip = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) {
            wchar_t className[32] = {};
            GetClassNameW(window, className, 32);
            if (std::wstring(className) == TOOLTIPS_CLASSW) {
                *reinterpret_cast<HWND*>(found) = window;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&toolTip));
    SendMessageW(toolTip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(tip), L"CPU address $8000, stored as 00 80");

    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::pair<int, const wchar_t*> names[] = {
        {control_id::offset, L"Offset"},  {control_id::pointer, L"Pointer"},
        {control_id::Option1, L"Type 1"}, {control_id::Option2, L"Type 2"},
        {control_id::word, L"WORD"},      {control_id::HV, L"HEX VALUE"},
    };
    for (const auto& [id, name] : names) {
        IAccessible* accessible = nullptr;
        const HRESULT found = AccessibleObjectFromWindow(control(id), OBJID_CLIENT, IID_IAccessible,
                                                         reinterpret_cast<void**>(&accessible));
        ASSERT_NE(accessible, nullptr) << std::hex << found;
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR spoken = nullptr;
        accessible->get_accName(self, &spoken);
        EXPECT_EQ(std::wstring(spoken != nullptr ? spoken : L""), name);
        SysFreeString(spoken);
        accessible->Release();
    }
    CoUninitialize();
}

// Every caption reads on the window and the line shows, measured from the
// rendered pixels, under each desktop's colours as they change while the
// window is open; and every caption fits, at 96 and at 192 dots per inch.
TEST_F(Form1Test, CaptionsReadAndFitOnAnyDesktop) {
    const int elements[] = {COLOR_INACTIVECAPTIONTEXT, COLOR_WINDOWTEXT, COLOR_BTNTEXT,
                            COLOR_BTNFACE, COLOR_WINDOW};
    COLORREF saved[5];
    for (int i = 0; i < 5; ++i) {
        saved[i] = GetSysColor(elements[i]);
    }
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    const struct {
        const char* name;
        COLORREF colours[5];  // in the order of `elements`
    } desktops[] = {
        {"Windows 10 and 11", {black, black, black, RGB(240, 240, 240), white}},
        {"Wine", {RGB(200, 200, 200), black, black, RGB(192, 192, 192), white}},
        {"high contrast black", {white, white, white, black, black}},
        {"high contrast white", {black, black, black, white, white}},
    };
    for (const auto& desktop : desktops) {
        SCOPED_TRACE(desktop.name);
        SetSysColors(5, elements, desktop.colours);
        Pump();
        UpdateWindow(form->handle());
        RedrawWindow(form->handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);

        RECT client{};
        GetClientRect(form->handle(), &client);
        HDC window = GetDC(form->handle());
        HDC copy = CreateCompatibleDC(window);
        HBITMAP image = CreateCompatibleBitmap(window, client.right, client.bottom);
        HGDIOBJ previous = SelectObject(copy, image);
        BitBlt(copy, 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
        const auto rgb = [](COLORREF c) { return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)}; };
        const Rgb background = rgb(GetPixel(copy, client.right - 1, client.bottom - 1));
        const auto contrast = [&](RECT area) {  // the best of any pixel
            double best = 1;
            for (int y = area.top; y < area.bottom; ++y) {
                for (int x = area.left; x < area.right; ++x) {
                    best = std::max(best, ContrastRatio(rgb(GetPixel(copy, x, y)), background));
                }
            }
            return best;
        };
        const auto placeOf = [&](int id) {
            RECT place{};
            GetWindowRect(control(id), &place);
            MapWindowPoints(nullptr, form->handle(), reinterpret_cast<POINT*>(&place), 2);
            return place;
        };
        for (const ControlLayout& layout : kControls) {
            if (layout.kind == ControlKind::Label) {
                EXPECT_GE(contrast(placeOf(layout.id)), 4.5) << layout.id;
            }
        }
        const RECT line{0, client.bottom * 2400 / 4935 - 2, client.right,
                        client.bottom * 2400 / 4935 + 3};
        EXPECT_GE(contrast(line), 3);
        SelectObject(copy, previous);
        DeleteObject(image);
        DeleteDC(copy);
        ReleaseDC(form->handle(), window);
    }
    SetSysColors(5, elements, saved);

    for (const UINT dpi : {96U, 192U}) {
        RECT suggested{0, 0, 100, 100};
        SendMessageW(form->handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        RECT client{};
        GetClientRect(form->handle(), &client);
        EXPECT_EQ(client.right, MulDiv(374, static_cast<int>(dpi), 96));
        EXPECT_EQ(client.bottom, MulDiv(329, static_cast<int>(dpi), 96));
        HDC screen = GetDC(control(control_id::Label3));
        for (const ControlLayout& layout : kControls) {
            HWND captioned = control(layout.id);
            SelectObject(screen,
                         reinterpret_cast<HFONT>(SendMessageW(captioned, WM_GETFONT, 0, 0)));
            RECT place{};
            GetClientRect(captioned, &place);
            SIZE extent{};
            GetTextExtentPoint32W(screen, layout.text, static_cast<int>(wcslen(layout.text)),
                                  &extent);
            if (layout.kind == ControlKind::Label) {
                EXPECT_LE(extent.cx, place.right) << layout.id << " at " << dpi;
                EXPECT_GE(extent.cy * 96, 10 * static_cast<LONG>(dpi)) << "readable size";
            }
        }
        ReleaseDC(control(control_id::Label3), screen);
    }
}

TEST_F(Form1Test, ExitEndsIt) {
    click(control_id::Exit);
    EXPECT_EQ(form->handle(), nullptr);
}

}  // namespace
