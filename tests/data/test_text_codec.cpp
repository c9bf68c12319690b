// Text conversions under the settings and variety file readers: the UTF-8 check, the Japanese
// legacy encodings, and the decimal numbers.

#include "settings/CRvTextCodec.h"

#include <QtTest>

#include <climits>

class TestTextCodec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void utf8Validity_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("ASCII") << QByteArray("<GRoot/>") << true;
        QTest::newRow("Japanese") << QStringLiteral("きらら397・吟風").toUtf8() << true;
        QTest::newRow("four bytes") << QByteArray("\xF0\x9F\x8D\x99") << true;
        QTest::newRow("highest") << QByteArray("\xF4\x8F\xBF\xBF") << true;
        QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
        QTest::newRow("F5 lead") << QByteArray("\xF5\x80\x80\x80") << false;
        QTest::newRow("overlong two") << QByteArray("\xC0\xAF") << false;
        QTest::newRow("overlong three") << QByteArray("\xE0\x80\xAF") << false;
        QTest::newRow("overlong four") << QByteArray("\xF0\x80\x80\xAF") << false;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
        QTest::newRow("last before surrogates") << QByteArray("\xED\x9F\xBF") << true;
        QTest::newRow("lone continuation") << QByteArray("a\x80") << false;
        QTest::newRow("cut at the end") << QByteArray("abc\xE3\x81") << false;
        QTest::newRow("lead then ASCII") << QByteArray("\xE3\x81"
                                                       "a")
                                         << false;
        QTest::newRow("Shift_JIS bytes") << QByteArray("\x95\x5C\x83\x5C") << false;
        QTest::newRow("FF") << QByteArray("\xFF") << false;
        QTest::newRow("error late in a long text")
            << (QStringLiteral("米").toUtf8().repeated(2000) + QByteArray("\xC0\x80") + QByteArray(100, 'x')) << false;
    }

    void utf8Validity()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        QCOMPARE(CRvTextCodec::IsValidUtf8(bytes), valid);
    }

    void legacyEncodings()
    {
        // 0x5C ("\") is the second byte of "表" and "ソ" in Shift_JIS; CP932 keeps "\" and "~" as
        // themselves and adds the Windows extensions such as "①".
        const QString text = QStringLiteral("表ソ\\~①髙");
        const std::optional<QByteArray> sjis = CRvTextCodec::Encode(text, CRvTextCodec::Legacy::Cp932);
        QVERIFY(sjis.has_value());
        QCOMPARE(*sjis, QByteArray("\x95\x5C\x83\x5C\x5C\x7E\x87\x40\xFB\xFC"));
        QCOMPARE(CRvTextCodec::Decode(*sjis, CRvTextCodec::Legacy::Cp932).value_or(QString()), text);

        const std::optional<QByteArray> euc =
            CRvTextCodec::Encode(QStringLiteral("日本の米"), CRvTextCodec::Legacy::EucJp);
        QVERIFY(euc.has_value());
        QCOMPARE(CRvTextCodec::Decode(*euc, CRvTextCodec::Legacy::EucJp).value_or(QString()),
                 QStringLiteral("日本の米"));

        QVERIFY(!CRvTextCodec::Encode(QStringLiteral("🍙"), CRvTextCodec::Legacy::Cp932).has_value());
        QVERIFY(!CRvTextCodec::Decode(QByteArray("\x95"), CRvTextCodec::Legacy::Cp932).has_value());   // cut off
        QVERIFY(!CRvTextCodec::Decode(QByteArray("a\xFF"), CRvTextCodec::Legacy::Cp932).has_value());  // no mapping
    }

    void leadingInt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("number") << "42" << 42;
        QTest::newRow("trailing text") << "12abc" << 12;
        QTest::newRow("no digits") << "abc" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("leading blanks") << "  \t7" << 7;
        QTest::newRow("minus") << "-15" << -15;
        QTest::newRow("plus") << "+3" << 3;
        QTest::newRow("sign then blank") << "- 3" << 0;
        QTest::newRow("decimal point") << "22.5" << 22;
        QTest::newRow("full-width digits are not digits") << "１２" << 0;
        QTest::newRow("too large") << "12345678901234567890" << INT_MAX;
        QTest::newRow("too small") << "-12345678901234567890" << INT_MIN;
    }

    void leadingInt()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(CRvTextCodec::LeadingInt(text), expected);
    }
};

QTEST_GUILESS_MAIN(TestTextCodec)
#include "test_text_codec.moc"
