// Keeps every caption readable whatever font the platform supplies.
#pragma once

class QWidget;

// Shrinks the font of each label whose caption does not fit its width, in
// the steps of FittingPointSize. Labels that fit are left alone.
void ShrinkFontsToFit(QWidget& window);
