// The Win32 window's layout: every control placed in pixels from its twips
// at the window's DPI, the icons drawn for it, and the largest UI font at
// which every caption fits.
#include <algorithm>
#include <cmath>
#include <cwchar>
#include <utility>

#include "Form1.h"
#include "fitting_size.h"
#include "resource_ids.h"

namespace {

constexpr int kButtonPaddingTwips = 120;  // a button's caption keeps clear of its frame

}  // namespace

RECT Form1::pixelRect(const Twips& place) const {
    return {pixels(place.left), pixels(place.top), pixels(place.left + place.width),
            pixels(place.top + place.height)};
}

void Form1::layOut(UINT newDpi) {
    dpi = newDpi;
    loadIcons();   // the window's own, drawn for this DPI
    chooseFont();  // and handed to every control
    for (const ControlLayout& layout : kControls) {
        const RECT place = pixelRect(layout.place);
        HWND placed = control(layout.id);
        SetWindowPos(placed, nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The frame around a client area of exactly the layout's size.
    const SIZE client{pixels(kClientArea.width), pixels(kClientArea.height)};
    RECT frame{0, 0, client.cx, client.cy};
    AdjustWindowRectExForDpi(&frame, kStyle, FALSE, 0, dpi);
    SIZE outer{frame.right - frame.left, frame.bottom - frame.top};
    for (int attempt = 0; attempt < 2; ++attempt) {
        SetWindowPos(window, nullptr, 0, 0, outer.cx, outer.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT actual{};
        GetClientRect(window, &actual);
        outer.cx += client.cx - actual.right;
        outer.cy += client.cy - actual.bottom;
    }
    RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Form1::loadIcons() {
    const std::array<std::pair<WPARAM, int>, 2> kinds = {
        {{ICON_SMALL, SM_CXSMICON}, {ICON_BIG, SM_CXICON}}};
    for (std::size_t i = 0; i < icons.size(); ++i) {
        const int size = GetSystemMetricsForDpi(kinds[i].second, dpi);
        Icon icon(static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(QUORVANE_ICON), IMAGE_ICON, size, size, 0)));
        SendMessageW(window, WM_SETICON, kinds[i].first, reinterpret_cast<LPARAM>(icon.get()));
        icons[i] = std::move(icon);  // the one the window showed till now goes
    }
}

void Form1::chooseFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    LOGFONTW logFont = metrics.lfMessageFont;
    logFont.lfWidth = 0;  // the width that goes with the height chosen
    const auto height = [this](double points) {
        return -static_cast<LONG>(std::lround(points * dpi / 72.0));
    };
    const double preferred = std::abs(logFont.lfHeight) * 72.0 / dpi;

    HDC screen = GetDC(window);
    const double points = FittingPointSize(preferred, [&](double size) {
        logFont.lfHeight = height(size);
        const Gdi<HFONT> trial(CreateFontIndirectW(&logFont));
        HGDIOBJ previous = SelectObject(screen, trial.get());
        bool fits = true;
        for (const ControlLayout& layout : kControls) {
            SIZE extent{};
            GetTextExtentPoint32W(screen, layout.text, static_cast<int>(std::wcslen(layout.text)),
                                  &extent);
            const int padding = layout.kind == ControlKind::Button ? kButtonPaddingTwips : 0;
            const bool captioned =
                layout.kind == ControlKind::Label || layout.kind == ControlKind::Button;
            fits = fits && (!captioned || (extent.cx <= pixels(layout.place.width - padding) &&
                                           extent.cy <= pixels(layout.place.height)));
        }
        SelectObject(screen, previous);
        return fits;
    });
    ReleaseDC(window, screen);

    logFont.lfHeight = height(points);
    Gdi<HFONT> chosen(CreateFontIndirectW(&logFont));
    for (const ControlLayout& layout : kControls) {
        SendMessageW(control(layout.id), WM_SETFONT, reinterpret_cast<WPARAM>(chosen.get()), FALSE);
    }
    font = std::move(chosen);  // once no control uses the font of before
}
