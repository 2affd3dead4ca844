// The colours of the window's captions and line, chosen so that they read on
// any desktop: light, dark or high contrast. Plain RGB in and out, so that
// every window adapts the same choice to its toolkit.
#pragma once

#include <cstdint>
#include <optional>

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Rgb& a, const Rgb& b) {
        return a.red == b.red && a.green == b.green && a.blue == b.blue;
    }
};

// A colour as one number, 0xRRGGBB, as CSS writes it, and back.
std::uint32_t PackedRgb(const Rgb& colour);
Rgb UnpackedRgb(std::uint32_t packed);

struct CaptionColours {
    Rgb background;  // behind the captions: the window itself
    Rgb text;        // the labels, at least 4.5:1 against the background
    Rgb line;        // the line between the two tools, at least 3:1
};

// The contrast ratio of two colours, from 1 (alike) to 21 (black on white),
// by their relative luminance.
double ContrastRatio(const Rgb& first, const Rgb& second);

// systemColour19 is the platform's colour for inactive title-bar text, or
// nothing where it has none; windowText is the platform's text colour. The
// background is systemColour19 where windowText reads on it, otherwise the
// picture's light blue or its dark counterpart, whichever windowText reads the
// better on. The text keeps windowText where it reads on that background,
// otherwise it is black or white, whichever reads the better; the line keeps
// windowText, which on that background always reads as a line does.
CaptionColours ChooseCaptionColours(const std::optional<Rgb>& systemColour19,
                                    const Rgb& windowText);
