// The Win32 window: its creation, its messages and the click handlers;
// form_layout.cpp lays it out, form_paint.cpp colours and paints it.
#include "Form1.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "code_page_description.h"
#include "conversions/conversions.h"
#include "pointer_description.h"
#include "resource_ids.h"

namespace {

constexpr wchar_t kClassName[] = L"QuorvaneForm1";
constexpr wchar_t kTitle[] = L"Quorvane Version 1.2 By Tamsel";

// Windows' wide characters are the UTF-16 code units the conversions read.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::u16string_view Utf16(const std::wstring& text) {
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

template <typename Text>
std::wstring Wide(const Text& text) {
    return {text.begin(), text.end()};
}

std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)), L'\0');
    const int length = GetWindowTextW(control, text.data(), static_cast<int>(text.size()) + 1);
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return text;
}

bool IsChecked(HWND option) { return SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

Form1::Form1(HINSTANCE executable) : instance(executable) {
    const INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&commonControls);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    // A second window finds the class registered already, and uses it.
    RegisterClassExW(&windowClass);

    const int pictureIds[] = {QUORVANE_PICTURE_96DPI, QUORVANE_PICTURE_192DPI};
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        pictures[i].reset(static_cast<HBITMAP>(LoadImageW(
            instance, MAKEINTRESOURCEW(pictureIds[i]), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    }

    CreateWindowExW(0, kClassName, kTitle, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (window == nullptr) {
        throw std::runtime_error("The window could not be created.");
    }
    createControls();
    applyCaptionColours();
    layOut(GetDpiForWindow(window));
    // The focus shows on every control from the start, not only once the
    // keyboard has been used.
    SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL),
                 0);
    lastFocus = control(control_id::offset);
}

Form1::~Form1() {
    if (window != nullptr) {
        DestroyWindow(window);  // before the font, brush and icons it uses go
    }
}

void Form1::createControls() {
    for (const ControlLayout& layout : kControls) {
        const wchar_t* className = WC_STATICW;
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD extendedStyle = 0;
        switch (layout.kind) {
            case ControlKind::Label:
                style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX;
                break;
            case ControlKind::TextBox:
                className = WC_EDITW;
                style |= WS_TABSTOP | ES_AUTOHSCROLL;
                extendedStyle = WS_EX_CLIENTEDGE;
                break;
            case ControlKind::Button:
                className = WC_BUTTONW;
                style |= WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY;
                break;
            case ControlKind::Option:
                className = WC_BUTTONW;
                style |= BS_AUTORADIOBUTTON | BS_NOTIFY;
                break;
        }
        switch (layout.id) {
            case control_id::Label4:  // the options' captions click them
            case control_id::Label5:
                style |= SS_NOTIFY;
                break;
            case control_id::Option1:  // the group of the two options, entered by Tab
                style |= WS_GROUP | WS_TABSTOP;
                break;
            case control_id::Label6:  // the first control after the group
                style |= WS_GROUP;
                break;
            default:
                break;
        }
        HWND created =
            CreateWindowExW(extendedStyle, className, layout.text, style, 0, 0, 0, 0, window,
                            reinterpret_cast<HMENU>(INT_PTR{layout.id}), instance, nullptr);
        if (layout.kind == ControlKind::TextBox) {
            SendMessageW(created, EM_SETLIMITTEXT, 0, 0);  // as long as memory allows
        }
    }
    SendMessageW(control(control_id::Option1), BM_SETCHECK, BST_CHECKED, 0);

    toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, instance, nullptr);
    // The pointer box's tip changes with its text; the hex value box's says
    // whose codes it gives, and what chose them.
    codePageDescription = Wide(CodePageDescription(conversions::CodePageInUse()));
    for (const auto& [id, text] : {std::pair(control_id::pointer, &pointerDescription),
                                   std::pair(control_id::HV, &codePageDescription)}) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window;
        tool.uId = reinterpret_cast<UINT_PTR>(control(id));
        tool.lpszText = text->data();
        SendMessageW(toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void Form1::describePointer() {
    pointerDescription = Wide(PointerDescription(Utf16(TextOf(control(control_id::pointer)))));
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(control(control_id::pointer));
    tool.lpszText = pointerDescription.data();
    SendMessageW(toolTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

bool Form1::TranslateKeys(MSG& message) { return IsDialogMessageW(window, &message) != FALSE; }

LRESULT CALLBACK Form1::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        form->window = nullptr;
    }
    return form->handleMessage(message, wParam, lParam);
}

LRESULT Form1::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC:  // the captions and the option buttons
            return colourCaption(reinterpret_cast<HDC>(wParam));
        case WM_ERASEBKGND:
            eraseBackground(reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_PAINT:
            paint();
            return 0;
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:   // visual styles switched on or off
        case WM_SETTINGCHANGE:  // high contrast switched on or off, among others
            for (const ControlLayout& layout : kControls) {
                SendMessageW(control(layout.id), message, wParam, lParam);
            }
            if (message != WM_SYSCOLORCHANGE) {
                layOut(dpi);  // the UI font may have changed too
            }
            applyCaptionColours();
            return 0;
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            layOut(HIWORD(wParam));
            return 0;
        }
        case WM_ACTIVATE:  // the focus comes back to the control that had it
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(window, focus) != FALSE) {
                    lastFocus = focus;
                }
            }
            break;
        case WM_SETFOCUS:
            SetFocus(lastFocus);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Form1::onCommand(int id, int code) {
    switch (id) {
        case IDOK: {  // Enter: it presses the focused button, and no other
            HWND focus = GetFocus();
            for (const int button :
                 {control_id::Calculate, control_id::Exit, control_id::Command1}) {
                if (focus == control(button)) {
                    SendMessageW(focus, BM_CLICK, 0, 0);
                }
            }
            return;
        }
        case control_id::Label4:
        case control_id::Label5:
            if (code == STN_CLICKED) {
                HWND option =
                    control(id == control_id::Label4 ? control_id::Option1 : control_id::Option2);
                SetFocus(option);
                SendMessageW(option, BM_CLICK, 0, 0);
            }
            return;
        case control_id::Option1:
        case control_id::Option2:
            if (code == BN_CLICKED) {
                id == control_id::Option1 ? Option1_Click() : Option2_Click();
            } else if (code == BN_SETFOCUS || code == BN_KILLFOCUS) {
                InvalidateRect(window, nullptr, TRUE);  // the focus ring
            }
            return;
        case control_id::pointer:
            if (code == EN_CHANGE) {
                describePointer();
            }
            return;
        default:
            break;
    }
    if (code == BN_KILLFOCUS) {
        // Windows draws the focused button as the one Enter presses, as it is
        // here; once the focus goes, by a click elsewhere too, no button is.
        SendMessageW(control(id), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    } else if (code == BN_CLICKED) {
        switch (id) {
            case control_id::Calculate:
                Calculate_Click();
                break;
            case control_id::Command1:
                Command1_Click();
                break;
            case control_id::Exit:
                Exit_Click();
                break;
            default:  // IDCANCEL, Escape among them: nothing to do
                break;
        }
    }
}

void Form1::Calculate_Click() {
    runReportingErrors(control_id::offset, Tool::Pointer, [this] {
        const std::wstring offsetText = TextOf(control(control_id::offset));
        const std::string pointer = conversions::ComputePointerText(
            Utf16(offsetText), IsChecked(control(control_id::Option1)),
            IsChecked(control(control_id::Option2)));
        SetWindowTextW(control(control_id::pointer), Wide(pointer).c_str());
    });
}

void Form1::Command1_Click() {
    runReportingErrors(control_id::word, Tool::WordToHex, [this] {
        const std::wstring word = TextOf(control(control_id::word));
        const std::wstring codes = Wide(conversions::StringToHex(Utf16(word)));
        HWND hexValue = control(control_id::HV);
        SetWindowTextW(hexValue, codes.c_str());
        SendMessageW(hexValue, EM_SETSEL, 0, 0);  // the codes from their start
        SendMessageW(hexValue, EM_SCROLLCARET, 0, 0);
    });
}

void Form1::Exit_Click() { DestroyWindow(window); }

void Form1::Option1_Click() { selectOption(control_id::Option1, control_id::Option2); }

void Form1::Option2_Click() { selectOption(control_id::Option2, control_id::Option1); }

void Form1::selectOption(int selected, int cleared) {
    SendMessageW(control(selected), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(control(cleared), BM_SETCHECK, BST_UNCHECKED, 0);
    // Tab enters the group at its selected option.
    SetWindowLongPtrW(control(selected), GWL_STYLE,
                      GetWindowLongPtrW(control(selected), GWL_STYLE) | WS_TABSTOP);
    SetWindowLongPtrW(control(cleared), GWL_STYLE,
                      GetWindowLongPtrW(control(cleared), GWL_STYLE) & ~LONG_PTR{WS_TABSTOP});
}

template <typename Work>
void Form1::runReportingErrors(int inputId, Tool tool, Work&& work) {
    try {
        work();
    } catch (...) {
        const ErrorMessage error = DescribeCurrentError(tool);
        std::wstring text = Wide(error.text);
        if (!error.hint.empty()) {
            text += L"\n\n" + Wide(error.hint);
        }
        MessageBoxW(window, text.c_str(), L"Quorvane", MB_OK | MB_ICONERROR);
        HWND input = control(inputId);
        SetFocus(input);
        SendMessageW(input, EM_SETSEL, 0, -1);
    }
}
