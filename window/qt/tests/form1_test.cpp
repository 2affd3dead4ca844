// Drives the real window on the offscreen platform, as a user would.
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>
#include <memory>

#include "Form1.h"
#include "caption_colours.h"

class Form1Test : public QObject {
    Q_OBJECT

    const QString kept{40000, QLatin1Char('k')};  // long, so that a box that cuts it shows
    std::unique_ptr<Form1> form;
    QTimer closer;
    QStringList messages;  // each message box, closed as soon as it opens

    QWidget* control(const QString& name) const { return form->findChild<QWidget*>(name); }
    QLineEdit* box(const char* name) const { return form->findChild<QLineEdit*>(name); }

private slots:
    void initTestCase() {
        connect(&closer, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages << box->text();
                box->accept();
            }
        });
        closer.start(10);
    }

    void init() {
        form = std::make_unique<Form1>();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    void cleanup() { QVERIFY2(messages.isEmpty(), qPrintable(messages.join(QLatin1Char('\n')))); }

    // Each click or key writes its own box, or none, and keeps every other
    // text whole; an overflow is reported and the window goes on.
    void actionsWriteTheirBoxAndKeepTheOthers_data() {
        QTest::addColumn<QString>("offset");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("actions");  // controls clicked and keys pressed, in turn
        QTest::addColumn<QString>("pointer");  // empty: not written
        QTest::addColumn<QString>("codes");    // empty: not written
        const auto row = [](const char* name, const QString& offset, const QString& word,
                            const char* actions, const QString& pointer, const QString& codes) {
            QTest::newRow(name) << offset << word << QString(actions) << pointer << codes;
        };
        row("Type 1", "8123", "", "Calculate", "1381", "");
        row("Type 2 caption", "8123", "", "Label5 Calculate", "13C1", "");
        row("Type 1 caption after Type 2", "8123", "", "Option2 Label4 Calculate", "1381", "");
        row("above 7FFFFFFF", "80000000", "", "Calculate", "overflow", "");
        row("40000 characters", QString(40000, '0'), "", "Calculate", "overflow", "");
        row("CALCULATE twice", "", u8"ＡＢ", "Command1 Command1", "", " 11 12");
        row("1 MiB word", "", QString(1 << 20, 'A'), "Command1", "",
            QString(" 11").repeated(1 << 20));
        row("Tab to Calculate, Enter", "8123", "", "Tab Tab Return", "1381", "");
        row("Tab to CALCULATE, keypad Enter", "", "AB", "Tab Tab Tab Tab Tab Tab Enter", "",
            " 11 12");
        row("Enter and Escape in a box", "8123", "AB", "Return Esc", "", "");
    }

    void actionsWriteTheirBoxAndKeepTheOthers() {
        QFETCH(QString, offset);
        QFETCH(QString, word);
        QFETCH(QString, actions);
        QFETCH(QString, pointer);
        QFETCH(QString, codes);
        const std::pair<const char*, QString> texts[] = {
            {"offset", offset}, {"pointer", kept}, {"word", word}, {"HV", kept}};
        for (const auto& [name, text] : texts) {
            box(name)->clear();
            box(name)->insert(text);  // as a paste does, through the box's length limit
        }
        box("offset")->setFocus();
        for (const QString& action : actions.split(' ')) {
            if (QWidget* target = control(action)) {
                QTest::mouseClick(target, Qt::LeftButton);
            } else {  // a key, on the focused control; Enter is on the keypad
                const auto key = Qt::Key(QKeySequence(action)[0].key());
                QTest::keyClick(QApplication::focusWidget(), key,
                                key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
            }
        }
        const bool overflow = pointer == "overflow";
        QCOMPARE(std::exchange(messages, {}).filter("error '6':\n\nOverflow").size(),
                 int(overflow));
        QCOMPARE(box("offset")->selectedText(), overflow ? offset : QString());
        QCOMPARE(box("offset")->text(), offset);
        QCOMPARE(box("pointer")->text(), pointer.isEmpty() || overflow ? kept : pointer);
        QCOMPARE(box("word")->text(), word);
        QCOMPARE(box("HV")->text(), codes.isEmpty() ? kept : codes);
        QCOMPARE(box("HV")->cursorPosition(), codes.isEmpty() ? kept.size() : 0);

        box("offset")->setText(QStringLiteral("10"));  // and the window goes on
        QTest::mouseClick(control("Calculate"), Qt::LeftButton);
        QVERIFY(QStringList({"80", "C0"}).contains(box("pointer")->text()));
    }

    void tabFollowsTheLayout() {
        QStringList visited;
        for (int step = 0; step < 8; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited.join(' '), "pointer Calculate Exit Option1 word Command1 HV offset");
    }

    void pointerToolTipFollowsTheTextInTheBox() {
        QTest::mouseClick(control("Calculate"), Qt::LeftButton);
        QCOMPARE(box("pointer")->toolTip(), "CPU address $8000, stored as 00 80");
        QTest::keyClicks(box("pointer"), "1");
        QCOMPARE(box("pointer")->toolTip(), "CPU address $0108, stored as 08 01");
    }

    // Every caption fits its label and reads on the window, whatever the
    // desktop's colours, as they change while the window is open. (The last
    // palette stays for the tests after, which do not depend on it.)
    void captionsFitAndRead_data() {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("platform") << QApplication::palette();
        QTest::newRow("dark") << QPalette(QColor(60, 60, 60), QColor(45, 45, 45));
        QTest::newRow("high-contrast black") << QPalette(Qt::black, Qt::black);
        QTest::newRow("high-contrast white") << QPalette(Qt::white, Qt::white);
    }

    void captionsFitAndRead() {
        QFETCH(QPalette, palette);
        QApplication::setPalette(palette);
        QApplication::processEvents();
        const QImage image = form->grab().toImage();
        const QColor window = image.pixelColor(image.rect().bottomRight());
        const auto rgb = [](const QColor& c) {
            return Rgb{std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())};
        };
        const auto contrast = [&](const QString& name) {  // the best of any pixel
            double best = 1;
            const QRect area = control(name)->geometry();
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    best = std::max(best, ContrastRatio(rgb(image.pixelColor(x, y)), rgb(window)));
                }
            }
            return best;
        };
        for (const QLabel* label : form->findChildren<QLabel*>()) {
            const QString name = label->objectName();
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width() &&
                         contrast(name) >= 4.5,
                     qPrintable(name));
        }
        for (const QString name : {"Line1", "Option1", "Option2"}) {
            QVERIFY2(contrast(name) >= 3, qPrintable(name));
        }
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
