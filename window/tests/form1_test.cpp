// Drives the real window on the offscreen platform, as a user would.
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QtTest>
#include <memory>

#include "Form1.h"
#include "caption_colours.h"

class Form1Test : public QObject {
    Q_OBJECT

    const QPalette platform = QApplication::palette();
    std::unique_ptr<Form1> form;
    QTimer closer;
    QStringList messages;  // each message box seen, closed as soon as it opened

    QWidget* control(const QString& name) const { return form->findChild<QWidget*>(name); }
    QLineEdit* box(const char* name) const { return form->findChild<QLineEdit*>(name); }
    void click(const QString& name) const { QTest::mouseClick(control(name), Qt::LeftButton); }

private slots:
    void initTestCase() {
        connect(&closer, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages << box->text() + QLatin1Char('\n') + box->informativeText();
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

    void cleanup() {
        form.reset();
        QApplication::setPalette(platform);
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join(QLatin1Char('\n'))));
    }

    // Each click writes its own box and keeps every other text whole; an
    // overflow is reported and the window goes on.
    void clicksWriteTheirBoxAndKeepTheOthers_data() {
        QTest::addColumn<QString>("offset");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("pointer");  // empty: an overflow is reported
        QTest::addColumn<QString>("codes");    // empty: the box keeps its text
        const QString wide(40000, QLatin1Char('0'));
        const QStringList calculate{"Calculate"};
        QTest::newRow("Type 1") << "8123"
                                << "" << calculate << "1381"
                                << "";
        QTest::newRow("Type 2 caption") << "8123"
                                        << "" << QStringList{"Label5", "Calculate"} << "13C1"
                                        << "";
        QTest::newRow("Type 1 caption after Type 2")
            << "8123"
            << "" << QStringList{"Option2", "Label4", "Calculate"} << "1381"
            << "";
        QTest::newRow("full-width offset") << u8"８１２３" << "" << calculate << "1381"
                                           << "";
        QTest::newRow("above 7FFFFFFF") << "80000000"
                                        << "" << calculate << ""
                                        << "";
        QTest::newRow("40000 characters") << wide << "" << calculate << ""
                                          << "";
        QTest::newRow("CALCULATE twice")
            << "" << u8"ＡＢ" << QStringList{"Command1", "Command1"} << ""
            << " 11 12";
        QTest::newRow("1 MiB word")
            << "" << QString(1 << 20, QLatin1Char('A')) << QStringList{"Command1"} << ""
            << QStringLiteral(" 11").repeated(1 << 20);
    }

    void clicksWriteTheirBoxAndKeepTheOthers() {
        QFETCH(QString, offset);
        QFETCH(QString, word);
        QFETCH(QStringList, clicks);
        QFETCH(QString, pointer);
        QFETCH(QString, codes);
        const QString kept(40000, QLatin1Char('k'));
        for (const auto& [name, text] :
             {std::pair{"offset", offset}, {"pointer", kept}, {"word", word}, {"HV", kept}}) {
            box(name)->clear();
            box(name)->insert(text);  // as a paste does
        }
        for (const QString& name : clicks) {
            click(name);
        }
        const bool calculated = clicks.contains(QStringLiteral("Calculate"));
        const bool overflow = calculated && pointer.isEmpty();
        QCOMPARE(box("pointer")->text(), calculated && !overflow ? pointer : kept);
        QCOMPARE(box("HV")->text(), codes.isEmpty() ? kept : codes);
        QCOMPARE(box("offset")->text(), offset);
        QCOMPARE(box("word")->text(), word);
        QCOMPARE(
            std::exchange(messages, {}).filter(QStringLiteral("error '6':\n\nOverflow")).size(),
            overflow ? 1 : 0);
        if (overflow) {
            QCOMPARE(box("offset")->selectedText(), offset);
        }
        if (!codes.isEmpty()) {
            QCOMPARE(box("HV")->cursorPosition(), 0);
        }
        box("offset")->setText(QStringLiteral("10"));  // and the window goes on
        click(QStringLiteral("Calculate"));
        QVERIFY(QStringList({"80", "C0"}).contains(box("pointer")->text()));
    }

    void keysPressTheFocusedButtonOnly_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("pointer");
        QTest::addColumn<QString>("codes");
        QTest::addColumn<bool>("open");
        QTest::newRow("Enter on Calculate") << "Calculate" << int(Qt::Key_Return) << "1381"
                                            << "" << true;
        QTest::newRow("keypad Enter on CALCULATE") << "Command1" << int(Qt::Key_Enter) << ""
                                                   << " 11 12" << true;
        QTest::newRow("Enter on Exit") << "Exit" << int(Qt::Key_Return) << ""
                                       << "" << false;
        QTest::newRow("Enter in a box") << "offset" << int(Qt::Key_Return) << ""
                                        << "" << true;
        QTest::newRow("Escape in a box") << "word" << int(Qt::Key_Escape) << ""
                                         << "" << true;
    }

    void keysPressTheFocusedButtonOnly() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(QString, pointer);
        QFETCH(QString, codes);
        QFETCH(bool, open);
        box("offset")->setText(QStringLiteral("8123"));
        box("word")->setText(QStringLiteral("AB"));
        control(focus)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control(focus), Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(box("pointer")->text(), pointer);
        QCOMPARE(box("HV")->text(), codes);
        QCOMPARE(form->isVisible(), open);
    }

    void tabFollowsTheLayout() {
        const QStringList expected = {"pointer", "Calculate", "Exit", "Option1",
                                      "word",    "Command1",  "HV",   "offset"};
        QStringList visited;
        for (int step = 0; step < expected.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
    }

    void pointerToolTipDescribesTheTextInTheBox() {
        click(QStringLiteral("Calculate"));
        QCOMPARE(box("pointer")->toolTip(), QStringLiteral("CPU address $8000, stored as 00 80"));
        QTest::keyClicks(box("pointer"), QStringLiteral("1"));
        QCOMPARE(box("pointer")->toolTip(), QStringLiteral("CPU address $0108, stored as 08 01"));
        QTest::keyClicks(box("pointer"), QStringLiteral("!"));
        QVERIFY(box("pointer")->toolTip().isEmpty());
    }

    // Every caption fits its label and reads against the window, as the
    // desktop's colours change while the window is open.
    void captionsFitAndRead_data() {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("platform") << platform;
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
        const auto contrast = [&](const QWidget* widget) {
            double best = 1;
            const QRect area = widget->geometry();
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    best = std::max(best, ContrastRatio(image.pixelColor(x, y), window));
                }
            }
            return best;
        };
        for (const QLabel* label : form->findChildren<QLabel*>()) {
            const char* name = qPrintable(label->objectName());
            QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->width(),
                     name);
            QVERIFY2(contrast(label) >= 4.5, name);
        }
        for (const char* name : {"Line1", "Option1", "Option2"}) {
            QVERIFY2(contrast(control(QString::fromLatin1(name))) >= 3, name);
        }
    }

    void captionColoursReadOnAnyPalette_data() {
        QTest::addColumn<QColor>("colour19");
        QTest::addColumn<QColor>("windowText");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("line");
        const QColor blue(216, 228, 248);
        const QColor black(Qt::black);
        const QColor white(Qt::white);
        const QColor grey(0x76, 0x76, 0x76);  // 3.5:1 on the blue
        QTest::newRow("no colour 19") << QColor() << black << blue << black << black;
        QTest::newRow("dark desktop")
            << QColor() << QColor(238, 238, 236) << blue << black << black;
        QTest::newRow("black colour 19 under black text")
            << black << black << blue << black << black;
        QTest::newRow("colour 19 the text reads on") << black << white << black << white << white;
        QTest::newRow("text colour fit for the line only")
            << QColor() << grey << blue << black << grey;
    }

    void captionColoursReadOnAnyPalette() {
        QFETCH(QColor, colour19);
        QFETCH(QColor, windowText);
        const CaptionColours chosen = ChooseCaptionColours(colour19, windowText);
        QTEST(chosen.background, "background");
        QTEST(chosen.text, "text");
        QTEST(chosen.line, "line");
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
