// The Win32 window's colours and painting: the background, captions and
// line in the colours the shared rule chooses for the desktop's, the picture
// drawn for the nearest larger DPI, and the option buttons' focus ring.
#include <algorithm>

#include "Form1.h"

namespace {

constexpr int kFocusGapTwips = 30;  // between an option button and its focus ring

COLORREF ToColorRef(const Rgb& colour) { return RGB(colour.red, colour.green, colour.blue); }

Rgb FromColorRef(COLORREF colour) {
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

}  // namespace

void Form1::applyCaptionColours() {
    colours = ChooseCaptionColours(FromColorRef(GetSysColor(COLOR_INACTIVECAPTIONTEXT)),
                                   FromColorRef(GetSysColor(COLOR_WINDOWTEXT)));
    background.reset(CreateSolidBrush(ToColorRef(colours.background)));
    RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Form1::paint() {
    PAINTSTRUCT paintStruct{};
    HDC canvas = BeginPaint(window, &paintStruct);

    // The picture, from the drawing made for the nearest larger resolution.
    if (HBITMAP picture = (dpi > USER_DEFAULT_SCREEN_DPI ? pictures[1] : pictures[0]).get()) {
        BITMAP size{};
        GetObjectW(picture, sizeof size, &size);
        const MemoryDc source(CreateCompatibleDC(canvas));
        HGDIOBJ previous = SelectObject(source.get(), picture);
        const RECT to = pixelRect(kPicture);
        SetStretchBltMode(canvas, HALFTONE);
        SetBrushOrgEx(canvas, 0, 0, nullptr);
        StretchBlt(canvas, to.left, to.top, to.right - to.left, to.bottom - to.top, source.get(), 0,
                   0, size.bmWidth, size.bmHeight, SRCCOPY);
        SelectObject(source.get(), previous);
    }

    // The line between the two tools, one pixel thick at 96 dots per inch.
    const int thickness = std::max(1, pixels(15));
    const Gdi<HBRUSH> ink(CreateSolidBrush(ToColorRef(colours.line)));
    const RECT line{pixels(kLine.left), pixels(kLine.top), pixels(kLine.left + kLine.width),
                    pixels(kLine.top) + thickness};
    FillRect(canvas, &line, ink.get());

    // The option buttons' captions stand apart from them, so the focus ring
    // goes round the button itself, in the captions' colour.
    HWND focus = GetFocus();
    if (focus == control(control_id::Option1) || focus == control(control_id::Option2)) {
        RECT ring{};
        GetWindowRect(focus, &ring);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&ring), 2);
        InflateRect(&ring, pixels(kFocusGapTwips), pixels(kFocusGapTwips));
        const Gdi<HBRUSH> text(CreateSolidBrush(ToColorRef(colours.text)));
        for (int i = 0; i < thickness; ++i) {
            FrameRect(canvas, &ring, text.get());
            InflateRect(&ring, -1, -1);
        }
    }
    EndPaint(window, &paintStruct);
}

LRESULT Form1::colourCaption(HDC canvas) const {
    SetTextColor(canvas, ToColorRef(colours.text));
    SetBkColor(canvas, ToColorRef(colours.background));
    return reinterpret_cast<LRESULT>(background.get());
}

void Form1::eraseBackground(HDC canvas) const {
    RECT client{};
    GetClientRect(window, &client);
    FillRect(canvas, &client, background.get());
}
