// The colours of the window's captions and line, chosen so that they read on
// any desktop: light, dark or high contrast.
#pragma once

#include <QColor>

struct CaptionColours {
    QColor background;  // behind the captions: the window itself
    QColor text;        // the labels, at least 4.5:1 against the background
    QColor line;        // the line between the two tools, at least 3:1
};

// The contrast ratio of two colours, from 1 (alike) to 21 (black on white),
// by their relative luminance.
double ContrastRatio(const QColor& first, const QColor& second);

// systemColour19 is the platform's colour for inactive title-bar text, or an
// invalid colour where it has none; windowText is the platform's text colour.
// The background is systemColour19 where windowText reads on it, otherwise
// the picture's light blue. Text and line keep windowText where it reads on
// that background, otherwise they are black or white, whichever reads more.
CaptionColours ChooseCaptionColours(const QColor& systemColour19, const QColor& windowText);
