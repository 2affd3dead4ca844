// Drives the real window on the offscreen platform, as a user would.
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>
#include <memory>
#include <tuple>

#include "Form1.h"
#include "caption_colours.h"
#include "window_behaviour.h"

// The Qt window as the shared checks drive it. Each message box is closed
// as soon as it opens, and its text kept.
class QtDriver : public WindowDriver {
    Form1& form;
    QTimer closer;
    std::vector<std::u16string> messages;

    QLineEdit* box(const std::string& name) const {
        return form.findChild<QLineEdit*>(QString::fromStdString(name));
    }

public:
    explicit QtDriver(Form1& window) : form(window) {
        QObject::connect(&closer, &QTimer::timeout, [this] {
            if (auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages.push_back(
                    (shown->text() + "\n\n" + shown->informativeText()).toStdU16String());
                shown->accept();
                form.activateWindow();  // which the offscreen platform does not do itself
            }
        });
        closer.start(10);
    }
    void act(const std::string& action) override {
        if (auto* control = form.findChild<QWidget*>(QString::fromStdString(action))) {
            QTest::mouseClick(control, Qt::LeftButton);
        } else {  // on the window's own focus widget
            const auto key = Qt::Key(QKeySequence(QString::fromStdString(action))[0].key());
            QTest::keyClick(form.focusWidget(), key,
                            key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        }
    }
    void paste(const std::string& name, const std::u16string& text) override {
        box(name)->clear();
        box(name)->insert(QString::fromStdU16String(text));  // through the box's length limit
    }
    std::u16string text(const std::string& name) override {
        return box(name)->text().toStdU16String();
    }
    std::pair<int, int> selection(const std::string& name) override {
        const int start = box(name)->hasSelectedText() ? box(name)->selectionStart()
                                                       : box(name)->cursorPosition();
        return {start, start + int(box(name)->selectedText().size())};
    }
    std::string focused() override { return form.focusWidget()->objectName().toStdString(); }
    std::vector<std::u16string> takeMessages() override { return std::exchange(messages, {}); }
};

class Form1Test : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> form;
    std::unique_ptr<QtDriver> driver;

private slots:
    void init() {
        form = std::make_unique<Form1>();
        driver = std::make_unique<QtDriver>(*form);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    // 40000 characters and a 1 MiB word: far past any length limit of a box.
    void behavesAsEveryWindow() {
        const std::string failures =
            CheckBehaviour(*driver, std::u16string(40000, u'k'), 40000, 1 << 20);
        QVERIFY2(failures.empty(), failures.c_str());
    }

    // As drawn on the desktop's palette as the window opens, then on a dark
    // desktop's, and on one whose grey text does not read on the picture's
    // blue. Each row: the desktop's text, the
    // window's background and the captions' ink; the line and the option
    // buttons' rings are in the desktop's text (smoothed, within a few levels
    // of their ink), and the picture shows.
    void drawsReadably() {
        const QPalette saved = QApplication::palette();
        const Rgb blue{216, 228, 248};
        const std::tuple<QColor, Rgb, Rgb> rows[] = {
            {saved.color(QPalette::WindowText), blue, {0, 0, 0}},
            {QColor(238, 238, 236), {30, 39, 56}, {238, 238, 236}},
            {QColor(110, 110, 110), blue, {0, 0, 0}},
        };
        for (const auto& [text, background, ink] : rows) {
            QPalette palette = saved;
            palette.setColor(QPalette::WindowText, text);
            QApplication::setPalette(palette);
            const QImage shown = form->grab().toImage();
            // How many of a control's pixels are within `within` steps of a colour.
            const auto near = [&](const char* name, Rgb colour, int within) {
                const QRect area = form->findChild<QWidget*>(name)->geometry();
                int count = 0;
                for (int i = 0; i < area.width() * area.height(); ++i) {
                    const QColor c = shown.pixelColor(area.topLeft() +
                                                      QPoint(i % area.width(), i / area.width()));
                    count += std::abs(c.red() - colour.red) + std::abs(c.green() - colour.green) +
                                 std::abs(c.blue() - colour.blue) <=
                             within;
                }
                return count;
            };
            const Rgb line{std::uint8_t(text.red()), std::uint8_t(text.green()),
                           std::uint8_t(text.blue())};
            QVERIFY(near("Label3", background, 0) > 0 && near("Label3", ink, 24) > 0);
            QVERIFY(near("Option1", line, 72) > 0 && near("Option2", line, 72) > 0);
            QVERIFY(near("Line1", line, 24) > 0);
            // The picture drawn on the window's background, light or dark.
            QVERIFY(near("Image1", background, 0) > 5000 && near("Image1", background, 0) < 13000);
        }
        QApplication::setPalette(saved);
    }

    // The pointer box's tool tip spells out what it holds, the hex value
    // box's whose codes it gives; Exit ends it all.
    void describesItsBoxesAndExits() {
        driver->paste("pointer", u"1381");
        QCOMPARE(form->findChild<QWidget*>("pointer")->toolTip(),
                 "CPU address $8113, stored as 13 81");
        QCOMPARE(form->findChild<QWidget*>("HV")->toolTip().toStdU16String(),
                 kCodePageRows[3][5]);  // Linux, the tests' environment
        driver->act("Exit");
        QVERIFY(!form->isVisible());
    }

    // Every caption fits its label, whatever font the platform gives: the
    // usual one, in which all keep the layout's one small size, or one as
    // wide as a typewriter's; and each names its control for screen readers.
    void captionsFit() {
        const QFont saved = QApplication::font();
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans Mono")));
        Form1 wide;
        QApplication::setFont(saved);
        for (Form1* shown : {form.get(), &wide}) {
            for (const QLabel* label : shown->findChildren<QLabel*>()) {
                QVERIFY2(
                    label->fontMetrics().horizontalAdvance(label->text()) <= label->width() &&
                        (shown == &wide || label->font().pointSizeF() == 7.5) &&
                        (!label->buddy() || QAccessible::queryAccessibleInterface(label->buddy())
                                                    ->text(QAccessible::Name) == label->text()),
                    qPrintable(label->objectName()));
            }
        }
        QVERIFY(wide.findChild<QLabel*>("Label3")->font().pointSizeF() < 7.5);
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
