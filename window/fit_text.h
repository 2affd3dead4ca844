// Keeps every caption readable whatever font the platform supplies.
#pragma once

class QLabel;
class QWidget;

// The width a label's caption needs in its current font.
int CaptionWidth(const QLabel& label);

// Shrinks, half a point at a time, the font of each label whose caption does not
// fit its width (down to 6 points). Labels that fit are left alone.
void ShrinkFontsToFit(QWidget& window);
