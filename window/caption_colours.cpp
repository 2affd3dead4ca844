#include "caption_colours.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTextContrast = 4.5;
constexpr double kLineContrast = 3.0;

double RelativeLuminance(const QColor& colour) {
    const auto linear = [](float channel) {
        return channel <= 0.04045F ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

QColor InkOn(const QColor& background, const QColor& preferred, double contrast) {
    if (ContrastRatio(preferred, background) >= contrast) {
        return preferred;
    }
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return ContrastRatio(black, background) >= ContrastRatio(white, background) ? black : white;
}

}  // namespace

double ContrastRatio(const QColor& first, const QColor& second) {
    const double one = RelativeLuminance(first);
    const double other = RelativeLuminance(second);
    return (std::max(one, other) + 0.05) / (std::min(one, other) + 0.05);
}

CaptionColours ChooseCaptionColours(const QColor& systemColour19, const QColor& windowText) {
    const bool systemReads =
        systemColour19.isValid() && ContrastRatio(windowText, systemColour19) >= kTextContrast;
    const QColor background = systemReads ? systemColour19 : QColor(216, 228, 248);
    return {background, InkOn(background, windowText, kTextContrast),
            InkOn(background, windowText, kLineContrast)};
}
