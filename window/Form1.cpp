#include "Form1.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStringView>
#include <new>
#include <string_view>

#include "caption_colours.h"
#include "conversions/conversions.h"
#include "fit_text.h"
#include "ui_Form1.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// The text boxes hold UTF-16, as the conversions read it: no 8-bit detour.
std::u16string_view Utf16(const QString& text) {
    const QStringView view(text);
    return {view.utf16(), static_cast<std::size_t>(view.size())};
}

QString RuntimeErrorText(int number, const QString& description) {
    return QStringLiteral("Run-time error '%1':\n\n%2").arg(number).arg(description);
}

// The box shows the pointer as stored in the file, low byte first, without a
// leading zero ("80" for 00 80); the tool tip spells out what a pointer text
// stands for. Any other text gets no tool tip.
QString PointerToolTip(const QString& text) {
    static const QRegularExpression kPointer(QStringLiteral("^[0-9A-Fa-f]{1,4}$"));
    if (!kPointer.match(text).hasMatch()) {
        return {};
    }
    const unsigned stored = text.toUInt(nullptr, 16);
    const unsigned first = stored >> 8U;
    const unsigned second = stored & 0xFFU;
    const auto hex = [](unsigned value, int width) {
        return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0')).toUpper();
    };
    return QStringLiteral("CPU address $%1, stored as %2 %3")
        .arg(hex(second << 8U | first, 4), hex(first, 2), hex(second, 2));
}

// The platform's colour for inactive title-bar text, which the window's
// background follows where captions read on it; none elsewhere.
QColor SystemColour19() {
#ifdef Q_OS_WIN
    const COLORREF colour = GetSysColor(COLOR_INACTIVECAPTIONTEXT);
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
#else
    return {};
#endif
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::Form1>()) {
    Q_INIT_RESOURCE(assets);
    ui->setupUi(this);
    // The layout's captions are sized for a small UI font: at 7.5 points every
    // one fits with the common sans-serif fonts; any that does not is shrunk.
    QFont captions = font();
    captions.setPointSizeF(7.5);
    setFont(captions);
    ShrinkFontsToFit(*this);

    ui->Image1->load(QStringLiteral(":/quorvane/player.svg"));
    applyCaptionColours();

    // The option buttons' own captions never fit in their 17 pixels: the labels
    // beside them are their captions. Without one, the focus frame goes round
    // the button instead of round a caption clipped away.
    ui->Option1->setText({});
    ui->Option2->setText({});

    // Each caption names its control for assistive technology; the captions
    // of the option buttons click them, as the buttons' own captions would.
    for (QLabel* label : findChildren<QLabel*>()) {
        if (QWidget* buddy = label->buddy()) {
            buddy->setAccessibleName(label->text());
            if (qobject_cast<QRadioButton*>(buddy) != nullptr) {
                label->installEventFilter(this);
            }
        }
    }
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->installEventFilter(this);
    }

    connect(ui->Calculate, &QPushButton::clicked, this, &Form1::Calculate_Click);
    connect(ui->Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(ui->Exit, &QPushButton::clicked, this, &Form1::Exit_Click);
    connect(ui->Option1, &QRadioButton::clicked, this, &Form1::Option1_Click);
    connect(ui->Option2, &QRadioButton::clicked, this, &Form1::Option2_Click);
    connect(ui->pointer, &QLineEdit::textChanged, this,
            [this](const QString& text) { ui->pointer->setToolTip(PointerToolTip(text)); });

    ui->offset->setFocus();
}

Form1::~Form1() = default;

bool Form1::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::ApplicationPaletteChange) {
        applyCaptionColours();
    }
    return handled;
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (auto* button = qobject_cast<QPushButton*>(watched);
        button != nullptr && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            button->click();
            return true;
        }
    }
    if (auto* label = qobject_cast<QLabel*>(watched);
        label != nullptr && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* option = qobject_cast<QRadioButton*>(label->buddy());
        if (option != nullptr && mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint())) {
            option->setFocus(Qt::MouseFocusReason);
            option->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::applyCaptionColours() {
    const CaptionColours colours =
        ChooseCaptionColours(SystemColour19(), QApplication::palette().color(QPalette::WindowText));
    QPalette window;
    window.setColor(QPalette::Window, colours.background);
    window.setColor(QPalette::WindowText, colours.text);
    setPalette(window);
    QPalette line;
    line.setColor(QPalette::WindowText, colours.line);
    ui->Line1->setPalette(line);
    // The option buttons fill no background of their own; styles draw their
    // ring from the Window colour (Fusion a shade darker), so the line's ink
    // keeps an empty ring visible on the background too.
    QPalette option;
    option.setColor(QPalette::Window, colours.line);
    ui->Option1->setPalette(option);
    ui->Option2->setPalette(option);
}

void Form1::Calculate_Click() {
    const QString hint =
        tr("The offset must be a hex number no larger than 7FFFFFFF, "
           "typed in fewer than 32767 characters.");
    runReportingErrors(ui->offset, hint, [this] {
        const QString offsetText = ui->offset->text();
        ui->pointer->setText(QString::fromStdString(conversions::ComputePointerText(
            Utf16(offsetText), ui->Option1->isChecked(), ui->Option2->isChecked())));
    });
}

void Form1::Command1_Click() {
    const QString hint = tr("A character of the word has a code that cannot be encoded.");
    runReportingErrors(ui->word, hint, [this] {
        const QString word = ui->word->text();
        ui->HV->setText(QString::fromStdString(conversions::StringToHex(Utf16(word))));
        ui->HV->setCursorPosition(0);  // the codes from their start
    });
}

void Form1::Exit_Click() { close(); }

void Form1::Option1_Click() {
    ui->Option1->setChecked(true);
    ui->Option2->setChecked(false);
}

void Form1::Option2_Click() {
    ui->Option2->setChecked(true);
    ui->Option1->setChecked(false);
}

template <typename Work>
void Form1::runReportingErrors(QLineEdit* input, const QString& overflowHint, Work&& work) {
    try {
        work();
    } catch (const conversions::ArithmeticOverflow& error) {
        reportError(input, RuntimeErrorText(error.number(), tr("Overflow")), overflowHint);
    } catch (const std::bad_alloc&) {
        reportError(input, RuntimeErrorText(7, tr("Out of memory")),
                    tr("The text is too long to work on."));
    } catch (const std::exception& error) {
        reportError(input, QString::fromLocal8Bit(error.what()), {});
    } catch (...) {
        reportError(input, tr("An unexpected error occurred."), {});
    }
}

void Form1::reportError(QLineEdit* input, const QString& message, const QString& hint) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Quorvane"), message, QMessageBox::Ok,
                    this);
    box.setInformativeText(hint);
    box.exec();
    input->setFocus();
    input->selectAll();
}
