#include "fit_text.h"

#include <QFontMetrics>
#include <QLabel>

int CaptionWidth(const QLabel& label) {
    return QFontMetrics(label.font()).horizontalAdvance(label.text());
}

void ShrinkFontsToFit(QWidget& window) {
    constexpr qreal kSmallestPointSize = 6;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        QFont font = label->font();
        while (CaptionWidth(*label) > label->width() && font.pointSizeF() > kSmallestPointSize) {
            font.setPointSizeF(font.pointSizeF() - 0.5);
            label->setFont(font);
        }
    }
}
