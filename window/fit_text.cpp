#include "fit_text.h"

#include <QFontMetrics>
#include <QLabel>

void ShrinkFontsToFit(QWidget& window) {
    constexpr qreal kSmallestPointSize = 6;
    constexpr qreal kStep = 0.5;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        QFont font = label->font();
        while (QFontMetrics(font).horizontalAdvance(label->text()) > label->width() &&
               font.pointSizeF() - kStep >= kSmallestPointSize) {
            font.setPointSizeF(font.pointSizeF() - kStep);
            label->setFont(font);
        }
    }
}
