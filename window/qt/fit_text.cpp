#include "fit_text.h"

#include <QFontMetrics>
#include <QLabel>

#include "fitting_size.h"

void ShrinkFontsToFit(QWidget& window) {
    for (QLabel* label : window.findChildren<QLabel*>()) {
        QFont font = label->font();
        font.setPointSizeF(FittingPointSize(font.pointSizeF(), [&](double size) {
            font.setPointSizeF(size);
            return QFontMetrics(font).horizontalAdvance(label->text()) <= label->width();
        }));
        label->setFont(font);
    }
}
