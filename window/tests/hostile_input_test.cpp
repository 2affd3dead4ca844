// What people paste by accident or on purpose: nothing crashes or hangs,
// every overflow gets its message, and the other boxes keep what they hold.
#include <QtTest>

#include "form_fixture.h"

namespace {

QString Utf16(const char16_t* text) { return QString::fromUtf16(text); }

}  // namespace

class HostileInputTest : public FormFixture {
    Q_OBJECT

private:
    // Puts recognisable texts in the boxes a handler must not touch.
    void fillOtherBoxes() const {
        box("offset")->setText(QStringLiteral("8123"));
        box("pointer")->setText(QStringLiteral("kept pointer"));
        box("word")->setText(QStringLiteral("AB"));
        box("HV")->setText(QStringLiteral("kept codes"));
    }

    // As a paste does it: through insert(), which honours the box's limit.
    void paste(const char* name, const QString& text) const {
        box(name)->clear();
        box(name)->insert(text);
    }

private slots:
    void hostileWordsAreEncoded_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("codes");
        QTest::newRow("lone high surrogate") << Utf16(u"\xD800") << " 0F";
        QTest::newRow("lone low surrogate, then A") << Utf16(u"\xDC00\x0041") << " 0F 11";
        QTest::newRow("outside the BMP") << Utf16(u"\U0001F600") << " 0F 0F";
        QTest::newRow("right-to-left") << Utf16(u"\u05E9\u05DC\u05D5\u05DD") << " 0F 0F 0F 0F";
        QTest::newRow("NUL, tab and escape")
            << QStringView(u"\0\t\x1B", 3).toString() << " FFD0 FFD9 FFEB";
    }

    void hostileWordsAreEncoded() {
        QFETCH(QString, word);
        QFETCH(QString, codes);
        fillOtherBoxes();
        paste("word", word);
        click("Command1");
        QCOMPARE(box("HV")->text(), codes);
        QCOMPARE(box("word")->text(), word);
        QCOMPARE(box("offset")->text(), QStringLiteral("8123"));
        QCOMPARE(box("pointer")->text(), QStringLiteral("kept pointer"));
    }

    void hostileOffsetsGiveAPointerOrAMessage_data() {
        QTest::addColumn<QString>("offset");
        QTest::addColumn<QString>("pointer");  // empty where an overflow is reported
        QTest::newRow("lone surrogate among the digits")
            << Utf16(u"81\xD800\x0032\x0033") << "1381";
        QTest::newRow("right-to-left marks") << Utf16(u"\u200F8123\u200E") << "1381";
        QTest::newRow("Arabic-Indic digits are no hex") << Utf16(u"\u0668\u0661") << "80";
        QTest::newRow("NUL and tab") << QStringView(u"81\0\t23", 6).toString() << "1381";
        QTest::newRow("32766 characters") << QString(32762, QLatin1Char(' ')) + "8123"
                                          << "1381";
        QTest::newRow("32767 characters") << QString(32763, QLatin1Char(' ')) + "8123"
                                          << "";
        QTest::newRow("40000 characters") << QString(40000, QLatin1Char('0')) << "";
        QTest::newRow("nine digits") << "1 0000 0000"
                                     << "";
    }

    void hostileOffsetsGiveAPointerOrAMessage() {
        QFETCH(QString, offset);
        QFETCH(QString, pointer);
        fillOtherBoxes();
        paste("offset", offset);
        click("Calculate");

        const QList<SeenMessage> seen = watcher->take();
        if (pointer.isEmpty()) {
            QCOMPARE(seen.size(), 1);
            QVERIFY(seen[0].text.contains(QStringLiteral("Overflow")));
            QCOMPARE(box("pointer")->text(), QStringLiteral("kept pointer"));
        } else {
            QVERIFY(seen.isEmpty());
            QCOMPARE(box("pointer")->text(), pointer);
        }
        QCOMPARE(box("offset")->text(), offset);
        QCOMPARE(box("word")->text(), QStringLiteral("AB"));
        QCOMPARE(box("HV")->text(), QStringLiteral("kept codes"));
        QVERIFY(form->isVisible());
    }

    void aOneMebibyteWordLeavesTheWindowUsable() {
        const QString word(1 << 20, QLatin1Char('A'));
        paste("word", word);
        click("Command1");
        QCOMPARE(box("HV")->text().size(), word.size() * 3);
        QVERIFY(box("HV")->text().endsWith(QStringLiteral(" 11 11")));

        box("offset")->setText(QStringLiteral("8123"));
        click("Calculate");
        QCOMPARE(box("pointer")->text(), QStringLiteral("1381"));
    }
};

QTEST_MAIN(HostileInputTest)
#include "hostile_input_test.moc"
