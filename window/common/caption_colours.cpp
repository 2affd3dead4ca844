#include "caption_colours.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTextContrast = 4.5;
constexpr Rgb kPictureBlue{216, 228, 248};
constexpr Rgb kNightBlue{30, 39, 56};  // the picture's blue, as dark as a dark desktop
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

double RelativeLuminance(const Rgb& colour) {
    const auto linear = [](std::uint8_t channel) {
        const double value = channel / 255.0;
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) +
           0.0722 * linear(colour.blue);
}

// The preferred ink where it reads on the background, otherwise black or
// white, whichever reads the better.
Rgb InkOn(const Rgb& background, const Rgb& preferred) {
    if (ContrastRatio(preferred, background) >= kTextContrast) {
        return preferred;
    }
    return ContrastRatio(kBlack, background) > ContrastRatio(kWhite, background) ? kBlack : kWhite;
}

}  // namespace

std::uint32_t PackedRgb(const Rgb& colour) {
    return static_cast<std::uint32_t>(colour.red) << 16U |
           static_cast<std::uint32_t>(colour.green) << 8U | colour.blue;
}

Rgb UnpackedRgb(std::uint32_t packed) {
    return {static_cast<std::uint8_t>(packed >> 16U), static_cast<std::uint8_t>(packed >> 8U),
            static_cast<std::uint8_t>(packed)};
}

double ContrastRatio(const Rgb& first, const Rgb& second) {
    const double one = RelativeLuminance(first);
    const double other = RelativeLuminance(second);
    return (std::max(one, other) + 0.05) / (std::min(one, other) + 0.05);
}

CaptionColours ChooseCaptionColours(const std::optional<Rgb>& systemColour19,
                                    const Rgb& windowText) {
    const bool systemReads =
        systemColour19 && ContrastRatio(windowText, *systemColour19) >= kTextContrast;
    // Dark text is a light desktop's, light text a dark one's: the blue that
    // suits the text suits the desktop, so the window is of a piece with the
    // boxes and buttons the desktop draws on it.
    const Rgb blue =
        ContrastRatio(windowText, kPictureBlue) >= ContrastRatio(windowText, kNightBlue)
            ? kPictureBlue
            : kNightBlue;
    const Rgb background = systemReads ? *systemColour19 : blue;
    // The line keeps windowText, which always reaches its 3:1: on colour 19,
    // where the text reaches 4.5:1, and on the better of the two blues, where
    // the worst colour, of the luminance between them, still reaches 3.4:1.
    return {background, InkOn(background, windowText), windowText};
}
