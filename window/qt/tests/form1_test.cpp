// Drives the real window on the offscreen platform, as a user would.
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>
#include <memory>

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

    // As drawn when the window opens, then on light and dark desktops: the
    // background, a caption, the line and the option buttons' rings in the
    // colours chosen for them (smoothed, they come within a few levels of
    // their ink), and the picture.
    void drawsReadably() {
        const QPalette saved = QApplication::palette();
        for (const QColor next : {QColor(32, 32, 96), QColor(110, 110, 110), QColor(238, 238, 236),
                                  saved.color(QPalette::WindowText)}) {
            const QColor text = QApplication::palette().color(QPalette::WindowText);
            const CaptionColours chosen = ChooseCaptionColours(
                std::nullopt,
                {std::uint8_t(text.red()), std::uint8_t(text.green()), std::uint8_t(text.blue())});
            const QImage shown = form->grab().toImage();
            // How many of a control's pixels are within `within` steps of a colour.
            const auto near = [&](const char* name, Rgb ink, int within) {
                const QRect area = form->findChild<QWidget*>(name)->geometry();
                int count = 0;
                for (int i = 0; i < area.width() * area.height(); ++i) {
                    const QPoint at = area.topLeft() + QPoint(i % area.width(), i / area.width());
                    const QColor c = shown.pixelColor(at);
                    count += std::abs(c.red() - ink.red) + std::abs(c.green() - ink.green) +
                                 std::abs(c.blue() - ink.blue) <=
                             within;
                }
                return count;
            };
            // Light text is a dark desktop's: the window is dark like its boxes.
            QVERIFY(near("Label3", chosen.background, 0) > 0 &&
                    near("Label3", chosen.text, 24) > 0 &&
                    (text.lightness() > 128) == (chosen.background.green < 128));
            QVERIFY(near("Option1", chosen.line, 72) > 0 && near("Option2", chosen.line, 72) > 0);
            QVERIFY(near("Line1", chosen.line, 24) > 0 &&
                    near("Image1", chosen.background, 0) < 13000);
            QPalette palette = saved;
            palette.setColor(QPalette::WindowText, next);
            QApplication::setPalette(palette);
        }
    }

    // The pointer box's tool tip spells out what it holds; Exit ends it all.
    void describesThePointerAndExits() {
        driver->paste("pointer", u"1381");
        QCOMPARE(form->findChild<QWidget*>("pointer")->toolTip(),
                 "CPU address $8113, stored as 13 81");
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
