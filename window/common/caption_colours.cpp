#include "caption_colours.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTextContrast = 4.5;
constexpr double kLineContrast = 3.0;
constexpr Rgb kPictureBlue{216, 228, 248};
constexpr Rgb kBlack{0, 0, 0};

double RelativeLuminance(const Rgb& colour) {
    const auto linear = [](std::uint8_t channel) {
        const double value = channel / 255.0;
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) +
           0.0722 * linear(colour.blue);
}

// The preferred ink where it reads on the background, otherwise black: the
// background is then the picture's light blue, on which black reads best.
Rgb InkOn(const Rgb& background, const Rgb& preferred, double contrast) {
    return ContrastRatio(preferred, background) >= contrast ? preferred : kBlack;
}

}  // namespace

double ContrastRatio(const Rgb& first, const Rgb& second) {
    const double one = RelativeLuminance(first);
    const double other = RelativeLuminance(second);
    return (std::max(one, other) + 0.05) / (std::min(one, other) + 0.05);
}

CaptionColours ChooseCaptionColours(const std::optional<Rgb>& systemColour19,
                                    const Rgb& windowText) {
    const bool systemReads =
        systemColour19 && ContrastRatio(windowText, *systemColour19) >= kTextContrast;
    const Rgb background = systemReads ? *systemColour19 : kPictureBlue;
    return {background, InkOn(background, windowText, kTextContrast),
            InkOn(background, windowText, kLineContrast)};
}
