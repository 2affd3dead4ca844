#include "Form1.h"

#include <QMessageBox>
#include <QStringView>
#include <new>
#include <string_view>

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

// The box drops a leading zero ("80" for 00 80), so the tool tip spells out
// the address and the two bytes as they stand in the file.
QString PointerToolTip(std::uint16_t cpuAddress) {
    const auto hex = [](unsigned value, int width) {
        return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0')).toUpper();
    };
    return QStringLiteral("CPU address $%1, stored as %2 %3")
        .arg(hex(cpuAddress, 4), hex(cpuAddress & 0xFFU, 2), hex(cpuAddress >> 8U, 2));
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

    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, backgroundColour());
    setPalette(palette);

    connect(ui->Calculate, &QPushButton::clicked, this, &Form1::Calculate_Click);
    connect(ui->Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(ui->Exit, &QPushButton::clicked, this, &Form1::Exit_Click);
    connect(ui->Option1, &QRadioButton::clicked, this, &Form1::Option1_Click);
    connect(ui->Option2, &QRadioButton::clicked, this, &Form1::Option2_Click);

    ui->offset->setFocus();
}

Form1::~Form1() = default;

QColor Form1::backgroundColour() {
#ifdef Q_OS_WIN
    const COLORREF colour = GetSysColor(COLOR_INACTIVECAPTIONTEXT);
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
#else
    return QColor(216, 228, 248);
#endif
}

void Form1::Calculate_Click() {
    const QString hint =
        tr("The offset must be a hex number no larger than 7FFFFFFF, "
           "typed in fewer than 32767 characters.");
    runReportingErrors(ui->offset, hint, [this] {
        const QString offsetText = ui->offset->text();
        const std::uint16_t address = conversions::ComputeCpuAddress(
            Utf16(offsetText), ui->Option1->isChecked(), ui->Option2->isChecked());
        ui->pointer->setText(QString::fromStdString(conversions::PointerText(address)));
        ui->pointer->setToolTip(PointerToolTip(address));
    });
}

void Form1::Command1_Click() {
    const QString hint = tr("A character of the word has a code that cannot be encoded.");
    runReportingErrors(ui->word, hint, [this] {
        const QString word = ui->word->text();
        ui->HV->setText(QString::fromStdString(conversions::StringToHex(Utf16(word))));
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
