// Drives the real window on the offscreen platform.
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgWidget>
#include <QtTest>

#include "fit_text.h"
#include "form_fixture.h"

class Form1Test : public FormFixture {
    Q_OBJECT

private slots:
    // ---- Layout -------------------------------------------------------------

    void controlsStandWhereTheLayoutPutsThem_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* name, const char* kind, QRect geometry, const char* text) {
            QTest::newRow(name) << QString::fromLatin1(kind) << geometry
                                << QString::fromLatin1(text);
        };
        row("Image1", "QSvgWidget", {8, 8, 102, 138}, "");
        row("Label4", "QLabel", {168, 24, 73, 25}, "Type 1");
        row("Option1", "QRadioButton", {136, 24, 17, 17}, "Option1");
        row("Label5", "QLabel", {320, 24, 41, 25}, "Type 2");
        row("Option2", "QRadioButton", {288, 24, 17, 17}, "Option2");
        row("Label1", "QLabel", {120, 70, 30, 17}, "Offset");
        row("offset", "QLineEdit", {168, 64, 81, 27}, "");
        row("Calculate", "QPushButton", {272, 64, 81, 25}, "Calculate");
        row("Label2", "QLabel", {120, 112, 41, 17}, "Pointer");
        row("pointer", "QLineEdit", {168, 104, 81, 27}, "");
        row("Exit", "QPushButton", {272, 104, 81, 25}, "Exit");
        row("Line1", "QFrame", {16, 160, 337, 1}, "");
        row("Label8", "QLabel", {112, 176, 161, 17}, "WORD TO HEX CALCULATOR");
        row("Label6", "QLabel", {40, 220, 41, 17}, "WORD");
        row("word", "QLineEdit", {88, 216, 161, 25}, "ONLY CAPITAL!");
        row("Command1", "QPushButton", {272, 216, 81, 25}, "CALCULATE");
        row("Label7", "QLabel", {16, 261, 65, 17}, "HEX VALUE");
        row("HV", "QLineEdit", {88, 256, 265, 25}, "");
        row("Label3", "QLabel", {40, 296, 305, 25},
            "Just for Nekketsu! Street Basket - Ganbare Dunk Heroes.nes");
    }

    void controlsStandWhereTheLayoutPutsThem() {
        QFETCH(QString, kind);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QWidget* widget = control(QTest::currentDataTag());
        QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), kind);
        QCOMPARE(widget->geometry(), geometry);
        QCOMPARE(widget->property("text").toString(), text);
    }

    void windowIsFixedWithItsTitle() {
        QCOMPARE(form->windowTitle(), QStringLiteral("Quorvane Version 1.2 By Tamsel"));
        QCOMPARE(form->size(), QSize(374, 329));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QVERIFY(!form->inherits("QDialog"));
        QCOMPARE(control<QFrame>("Line1")->frameShape(), QFrame::HLine);
    }

    void everyCaptionIsFullyVisible() {
        for (const QLabel* label : form->findChildren<QLabel*>()) {
            const QFontMetrics metrics(label->font());
            QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->objectName()));
            QVERIFY2(metrics.height() <= label->height(), qPrintable(label->objectName()));
        }
        constexpr int kButtonPadding = 12;  // the frame and a little air on each side
        for (const QPushButton* button : form->findChildren<QPushButton*>()) {
            const int needed =
                QFontMetrics(button->font()).horizontalAdvance(button->text()) + kButtonPadding;
            QVERIFY2(needed <= button->width(), qPrintable(button->objectName()));
        }
        const QLineEdit* word = box("word");
        QVERIFY(QFontMetrics(word->font()).horizontalAdvance(word->text()) + 8 <= word->width());
    }

    void captionsTooWideForTheirLabelShrinkUntilTheyFit() {
        QWidget window;
        QLabel wide(QStringLiteral("Just for Nekketsu! Street Basket"), &window);
        QLabel fitting(QStringLiteral("Type 1"), &window);
        wide.setGeometry(0, 0, 150, 25);
        fitting.setGeometry(0, 30, 150, 25);
        const qreal before = fitting.font().pointSizeF();
        QVERIFY(QFontMetrics(wide.font()).horizontalAdvance(wide.text()) > wide.width());
        ShrinkFontsToFit(window);
        QVERIFY(QFontMetrics(wide.font()).horizontalAdvance(wide.text()) <= wide.width());
        QCOMPARE(fitting.font().pointSizeF(), before);
    }

    void labelsAndOptionsSitOnTheWindowColour() {
        const QColor background = Form1::backgroundColour();
#ifndef Q_OS_WIN
        QCOMPARE(background, QColor(216, 228, 248));
#endif
        QVERIFY(form->autoFillBackground());
        QCOMPARE(form->palette().color(QPalette::Window), background);
        for (const QWidget* widget : form->findChildren<QWidget*>()) {
            if (qobject_cast<const QLabel*>(widget) || qobject_cast<const QRadioButton*>(widget)) {
                QVERIFY2(!widget->autoFillBackground(), qPrintable(widget->objectName()));
                QCOMPARE(widget->palette().color(QPalette::Window), background);
            }
        }
        const QPalette platform = QApplication::palette();
        QCOMPARE(box("offset")->palette().color(QPalette::Base), platform.color(QPalette::Base));
        QCOMPARE(control("Calculate")->palette().color(QPalette::Button),
                 platform.color(QPalette::Button));
    }

    void startsWithType1AndTheOffsetFocused() {
        QVERIFY(control<QRadioButton>("Option1")->isChecked());
        QVERIFY(!control<QRadioButton>("Option2")->isChecked());
        QVERIFY(control<QRadioButton>("Option1")->autoExclusive());
        QCOMPARE(QApplication::focusWidget(), box("offset"));
    }

    void tabFollowsTheLayoutAndLabelsTakeNoFocus() {
        // From the offset box, where the focus starts. Tab enters the option
        // group at its checked button; the arrow keys move within it.
        const QStringList expected = {"pointer", "Calculate", "Exit", "Option1",
                                      "word",    "Command1",  "HV",   "offset"};
        QStringList visited;
        for (int step = 0; step < expected.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
        for (const QLabel* label : form->findChildren<QLabel*>()) {
            QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        }
    }

    void accessibleNamesSayWhatEachControlIs_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("Option1") << "Type 1";
        QTest::newRow("Option2") << "Type 2";
        QTest::newRow("offset") << "Offset";
        QTest::newRow("pointer") << "Pointer";
        QTest::newRow("word") << "Word";
        QTest::newRow("HV") << "Hex value";
    }

    void accessibleNamesSayWhatEachControlIs() {
        QFETCH(QString, name);
        QCOMPARE(control(QTest::currentDataTag())->accessibleName(), name);
    }

    // ---- Handlers -----------------------------------------------------------

    void calculateShowsThePointerForTheSelectedType() {
        click("Calculate");
        QCOMPARE(box("pointer")->text(), QStringLiteral("80"));
        QCOMPARE(box("pointer")->toolTip(), QStringLiteral("CPU address $8000, stored as 00 80"));

        box("offset")->setText(QStringLiteral("8123"));
        click("Calculate");
        QCOMPARE(box("pointer")->text(), QStringLiteral("1381"));

        click("Option2");
        QVERIFY(control<QRadioButton>("Option2")->isChecked());
        QVERIFY(!control<QRadioButton>("Option1")->isChecked());
        click("Calculate");
        QCOMPARE(box("pointer")->text(), QStringLiteral("13C1"));
        QCOMPARE(box("pointer")->toolTip(), QStringLiteral("CPU address $C113, stored as 13 C1"));
        QCOMPARE(box("offset")->text(), QStringLiteral("8123"));
    }

    void clickingTheCheckedOptionKeepsIt() {
        click("Option1");
        QVERIFY(control<QRadioButton>("Option1")->isChecked());
        QVERIFY(!control<QRadioButton>("Option2")->isChecked());
        click("Option2");
        click("Option2");
        QVERIFY(control<QRadioButton>("Option2")->isChecked());
        QVERIFY(!control<QRadioButton>("Option1")->isChecked());
    }

    void calculateTwiceReplacesTheCodes() {
        const QString codes = QStringLiteral(" 1F 1E 1C 29 FFF0 13 11 20 19 24 11 1C FFF1");
        click("Command1");
        QCOMPARE(box("HV")->text(), codes);
        click("Command1");
        QCOMPARE(box("HV")->text(), codes);
    }

    void anOverflowIsReportedAndTheWindowGoesOn() {
        box("pointer")->setText(QStringLiteral("1381"));
        box("offset")->setText(QStringLiteral("80000000"));
        click("Calculate");

        const QList<SeenMessage> seen = watcher->take();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].icon, QMessageBox::Critical);
        QCOMPARE(seen[0].title, QStringLiteral("Quorvane"));
        QVERIFY(seen[0].text.contains(QStringLiteral("'6'")));
        QVERIFY(seen[0].text.contains(QStringLiteral("Overflow")));
        QVERIFY(seen[0].informativeText.contains(QStringLiteral("7FFFFFFF")));

        QVERIFY(form->isVisible());
        QCOMPARE(box("pointer")->text(), QStringLiteral("1381"));
        QCOMPARE(box("offset")->text(), QStringLiteral("80000000"));
        QCOMPARE(form->focusWidget(), box("offset"));
        QCOMPARE(box("offset")->selectedText(), QStringLiteral("80000000"));
    }

    void enterAndEscapePressNothing() {
        box("offset")->setText(QStringLiteral("8123"));
        QTest::keyClick(box("offset"), Qt::Key_Return);
        QTest::keyClick(box("offset"), Qt::Key_Escape);
        QVERIFY(box("pointer")->text().isEmpty());
        QVERIFY(form->isVisible());
        for (const QPushButton* button : form->findChildren<QPushButton*>()) {
            QVERIFY(!button->isDefault());
            QVERIFY(!button->autoDefault());
        }
    }

    void exitClosesTheWindow() {
        click("Exit");
        QVERIFY(!form->isVisible());
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
