#include "caption_colours.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTextContrast = 4.5;
constexpr double kLineContrast = 3.0;
constexpr Rgb kPictureBlue{216, 228, 248};
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

Rgb InkOn(const Rgb& background, const Rgb& preferred, double contrast) {
    if (ContrastRatio(preferred, background) >= contrast) {
        return preferred;
    }
    return ContrastRatio(kBlack, background) >= ContrastRatio(kWhite, background) ? kBlack : kWhite;
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
