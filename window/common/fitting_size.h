// Keeps every caption readable whatever font the platform supplies.
#pragma once

// Caption fonts step down from the size the layout was drawn for, half a
// point at a time, to no smaller than 6 points.
inline constexpr double kSmallestCaptionPoints = 6.0;
inline constexpr double kCaptionPointStep = 0.5;

// The largest point size from `preferred` down to kSmallestCaptionPoints at
// which fits(size) holds; kSmallestCaptionPoints where none does.
template <typename Fits>
double FittingPointSize(double preferred, Fits&& fits) {
    double size = preferred;
    while (size - kCaptionPointStep >= kSmallestCaptionPoints && !fits(size)) {
        size -= kCaptionPointStep;
    }
    return size;
}
