#include "Form1.h"

#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QStringView>
#include <string_view>

#include "caption_colours.h"
#include "code_page_description.h"
#include "conversions/conversions.h"
#include "error_messages.h"
#include "fit_text.h"
#include "pointer_description.h"
#include "ui_Form1.h"

namespace {

// The text boxes hold UTF-16, as the conversions read it: no 8-bit detour.
std::u16string_view Utf16(const QString& text) {
    const QStringView view(text);
    return {view.utf16(), static_cast<std::size_t>(view.size())};
}

QColor ToQColor(const Rgb& colour) { return {colour.red, colour.green, colour.blue}; }

Rgb ToRgb(const QColor& colour) {
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
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

    applyCaptionColours();
    // Whose codes the word-to-hex tool gives, and what chose them.
    ui->HV->setToolTip(
        QString::fromStdU16String(CodePageDescription(conversions::CodePageInUse())));

    // The option buttons' own captions never fit in their 17 pixels: the labels
    // beside them are their captions. Without one, the focus frame goes round
    // the button instead of round a caption clipped away.
    ui->Option1->setText({});
    ui->Option2->setText({});

    // The application sees every event, the controls' too (eventFilter).
    qApp->installEventFilter(this);

    connect(ui->Calculate, &QPushButton::clicked, this, &Form1::Calculate_Click);
    connect(ui->Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(ui->Exit, &QPushButton::clicked, this, &Form1::Exit_Click);
    connect(ui->Option1, &QRadioButton::clicked, this, &Form1::Option1_Click);
    connect(ui->Option2, &QRadioButton::clicked, this, &Form1::Option2_Click);
    connect(ui->pointer, &QLineEdit::textChanged, this, [this](const QString& text) {
        ui->pointer->setToolTip(QString::fromStdU16String(PointerDescription(Utf16(text))));
    });

    ui->offset->setFocus();
}

Form1::~Form1() = default;

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    // The desktop's palette changed (light to dark, say): Qt tells the
    // application, not a window whose palette is its own.
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange) {
        applyCaptionColours();
    }
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
    // This desktop has no colour for inactive title-bar text to follow.
    const CaptionColours colours = ChooseCaptionColours(
        std::nullopt, ToRgb(QApplication::palette().color(QPalette::WindowText)));
    QPalette window;
    window.setColor(QPalette::Window, ToQColor(colours.background));
    window.setColor(QPalette::WindowText, ToQColor(colours.text));
    setPalette(window);
    QPalette line;
    line.setColor(QPalette::WindowText, ToQColor(colours.line));
    ui->Line1->setPalette(line);
    // The option buttons fill no background of their own; styles draw their
    // ring from the Window colour (Fusion a shade darker), so the line's ink
    // keeps an empty ring visible on the background too.
    QPalette option;
    option.setColor(QPalette::Window, ToQColor(colours.line));
    ui->Option1->setPalette(option);
    ui->Option2->setPalette(option);
    // The picture on the window's own background, light or dark.
    QFile picture(QStringLiteral(":/quorvane/player.svg"));
    picture.open(QIODevice::ReadOnly);
    ui->Image1->load(picture.readAll().replace(R"(class="backdrop" fill="#D8E4F8")",
                                               QStringLiteral(R"(class="backdrop" fill="%1")")
                                                   .arg(ToQColor(colours.background).name())
                                                   .toUtf8()));
}

void Form1::Calculate_Click() {
    runReportingErrors(ui->offset, Tool::Pointer, [this] {
        const QString offsetText = ui->offset->text();
        ui->pointer->setText(QString::fromStdString(conversions::ComputePointerText(
            Utf16(offsetText), ui->Option1->isChecked(), ui->Option2->isChecked())));
    });
}

void Form1::Command1_Click() {
    runReportingErrors(ui->word, Tool::WordToHex, [this] {
        const QString word = ui->word->text();
        ui->HV->setText(QString::fromStdString(conversions::StringToHex(Utf16(word))));
        ui->HV->setCursorPosition(0);  // the codes from their start
    });
}

void Form1::Exit_Click() { close(); }

// Qt's exclusive group has selected the clicked option and cleared the other
// before these run, so nothing is left for them to do.
void Form1::Option1_Click() {}

void Form1::Option2_Click() {}

template <typename Work>
void Form1::runReportingErrors(QLineEdit* input, Tool tool, Work&& work) {
    try {
        work();
    } catch (...) {
        const ErrorMessage error = DescribeCurrentError(tool);
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Quorvane"),
                        QString::fromStdU16String(error.text), QMessageBox::Ok, this);
        box.setInformativeText(QString::fromStdU16String(error.hint));
        box.exec();
        input->setFocus();
        input->selectAll();
    }
}
