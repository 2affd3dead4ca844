// Keeps every caption readable whatever font the platform supplies.
#pragma once

class QWidget;

// Shrinks, half a point at a time, the font of each label whose caption does
// not fit its width (down to 6 points). Labels that fit are left alone.
void ShrinkFontsToFit(QWidget& window);
