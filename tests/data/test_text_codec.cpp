// Text conversions under the settings and variety file readers: the UTF-8 check (the fast ones
// must agree with the byte-by-byte one), the quick UTF-8 reading (it must read as Qt does), the
// Japanese legacy encodings, and the decimal numbers.

#include "data/CRvTextCodec.h"

#include <QtTest>

#include <climits>
#include <random>

namespace {

const CRvTextCodec::Utf8Check kVectorChecks[] = {CRvTextCodec::Utf8Check::Ssse3, CRvTextCodec::Utf8Check::Avx2};

}  // namespace

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
        QTest::newRow("lead then ASCII") << QByteArray("\xE3\x81" "a") << false;
        QTest::newRow("Shift_JIS bytes") << QByteArray("\x95\x5C\x83\x5C") << false;
        QTest::newRow("FF") << QByteArray("\xFF") << false;
        // A sequence across the sixteen-byte blocks of the fast check.
        QTest::newRow("across a block") << (QByteArray(15, 'a') + QStringLiteral("米").toUtf8() + QByteArray(20, 'b')) << true;
        QTest::newRow("cut across a block") << (QByteArray(15, 'a') + QByteArray("\xE7\xB1") + QByteArray(20, 'b')) << false;
        QTest::newRow("cut at a block end") << (QByteArray(30, 'a') + QByteArray("\xE7\xB1")) << false;
        QTest::newRow("across a wide block") << (QByteArray(31, 'a') + QStringLiteral("米").toUtf8() + QByteArray(40, 'b')) << true;
        QTest::newRow("broken across a wide block") << (QByteArray(31, 'a') + QByteArray("\xE7\xB1") + QByteArray(40, 'b')) << false;
        QTest::newRow("cut at a wide block end") << (QByteArray(62, 'a') + QByteArray("\xE7\xB1")) << false;
        QTest::newRow("error late in a long text")
            << (QStringLiteral("米").toUtf8().repeated(2000) + QByteArray("\xC0\x80") + QByteArray(100, 'x')) << false;
    }

    void utf8Validity()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        QCOMPARE(CRvTextCodec::IsValidUtf8(bytes), valid);
        QCOMPARE(CRvTextCodec::IsValidUtf8Scalar(bytes.constData(), static_cast<std::size_t>(bytes.size())), valid);
        for (const CRvTextCodec::Utf8Check method : kVectorChecks) {
            QCOMPARE(CRvTextCodec::IsValidUtf8With(method, bytes.constData(), static_cast<std::size_t>(bytes.size())),
                     valid);
        }
    }

    // Random mixtures of valid and broken sequences of every length class.
    void fastCheckAgreesWithTheByteByByteOne()
    {
        const QByteArray pieces[] = {
            "A", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xE3\x81\x82", "\xED\x9F\xBF", "\xF0\x90\x80\x80",
            "\xF4\x8F\xBF\xBF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC0\x80", "\xE0\x80\x80", "\xF0\x80\x80\x80",
            "\x80", "\xBF", "\xF5\x80\x80\x80", "\xFF", "\xE3\x81", "\xC3"};
        std::mt19937 random(20240601);
        int valid = 0;
        for (int round = 0; round < 20000; ++round) {
            QByteArray bytes;
            const int count = static_cast<int>(random() % (round % 2 ? 40 : 300));
            for (int i = 0; i < count; ++i) {
                const bool good = random() % 100 < 92;
                bytes += pieces[good ? random() % 8 : random() % std::size(pieces)];
            }
            const bool scalar = CRvTextCodec::IsValidUtf8Scalar(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            valid += scalar ? 1 : 0;
            if (CRvTextCodec::IsValidUtf8(bytes) != scalar)
                QFAIL(qPrintable(QStringLiteral("disagree on %1").arg(QString::fromLatin1(bytes.toHex(' ')))));
            // Every way the processor offers, not only the one IsValidUtf8 picks.
            for (const CRvTextCodec::Utf8Check method : kVectorChecks) {
                if (CRvTextCodec::CanCheckUtf8With(method)
                    && CRvTextCodec::IsValidUtf8With(method, bytes.constData(), static_cast<std::size_t>(bytes.size())) != scalar)
                    QFAIL(qPrintable(QStringLiteral("method %1 disagrees on %2")
                                         .arg(static_cast<int>(method))
                                         .arg(QString::fromLatin1(bytes.toHex(' ')))));
            }
        }
        QVERIFY(valid > 1000);  // both kinds were tried
        QVERIFY(valid < 19000);
    }

    // The quick conversion must read every text as Qt does: the catalogue's texts, every
    // sequence length, a byte order mark, and broken or cut-off sequences mixed in.
    void fromUtf8ReadsAsQtDoes()
    {
        const QByteArray pieces[] = {
            "A", " ", "\xC2\xA9", "\xDF\xBF", "\xE0\xA0\x80", "\xE3\x81\x82", "\xE7\xB1\xB3", "\xEF\xBC\x88",
            "\xED\x9F\xBF", "\xF0\x9F\x8D\x99", "\xF4\x8F\xBF\xBF", "\xEF\xBB\xBF",
            // broken: surrogate, above U+10FFFF, overlong, lone continuation, cut-off, invalid bytes
            "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC0\x80", "\xE0\x80\x80", "\xF0\x80\x80\x80", "\x80", "\xE3\x81",
            "\xC3", "\xFF", "\xF5\x80\x80\x80"};
        auto check = [](const QByteArray &bytes) {
            const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            const QString quick = CRvTextCodec::FromUtf8(view);
            const QString qt = QString::fromUtf8(bytes);
            if (quick != qt || quick.size() != qt.size())
                QFAIL(qPrintable(QStringLiteral("differs on %1").arg(QString::fromLatin1(bytes.toHex(' ')))));
            // Into a buffer: the same units, or a refusal that leaves the text to Qt; never more
            // units than the buffer holds.
            char16_t units[40] = {};
            const qsizetype written = CRvTextCodec::DecodeUtf8(view, units, 32);
            if (written > 32 || (written >= 0 && QStringView(units, written) != qt) || units[32] != 0)
                QFAIL(qPrintable(QStringLiteral("buffer differs on %1").arg(QString::fromLatin1(bytes.toHex(' ')))));
            // Re-using a string that already has a buffer of its own.
            QString reused(200, QLatin1Char('x'));
            CRvTextCodec::AssignUtf8(reused, view);
            if (reused != qt)
                QFAIL(qPrintable(QStringLiteral("reused string differs on %1").arg(QString::fromLatin1(bytes.toHex(' ')))));
        };
        check(QByteArray());
        check(QStringLiteral("しまひかり×キタアケ（系統1234）").toUtf8());
        check(QStringLiteral("きらら397・🍙").toUtf8());
        check(QByteArray("\xEF\xBB\xBF") + QStringLiteral("米").toUtf8());
        // Runs of kana and kanji long enough to be read four at a time, clean and with a fault at
        // each place of such a group.
        const QByteArray run = QStringLiteral("心白、腹白ともに少ない北海道立上川農業試験場").toUtf8();
        check(run);
        for (int at = 0; at < 24; ++at) {
            for (const char *fault : {"\x41", "\xC0\x80", "\xED\xA0\x80", "\xE0\x80\x80", "\x80", "\xE3\x81"}) {
                QByteArray broken = run;
                broken.insert(at * 3, fault);
                check(broken);
            }
        }
        std::mt19937 random(20240602);
        for (int round = 0; round < 20000; ++round) {
            QByteArray bytes;
            const int count = static_cast<int>(random() % 24);
            for (int i = 0; i < count; ++i) {
                const bool good = random() % 100 < 90;
                bytes += pieces[good ? random() % 12 : random() % std::size(pieces)];
            }
            check(bytes);
            if (QTest::currentTestFailed())
                return;
        }
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

        const std::optional<QByteArray> euc = CRvTextCodec::Encode(QStringLiteral("日本の米"), CRvTextCodec::Legacy::EucJp);
        QVERIFY(euc.has_value());
        QCOMPARE(CRvTextCodec::ToUtf8(*euc, CRvTextCodec::Legacy::EucJp).value_or(QByteArray()),
                 QStringLiteral("日本の米").toUtf8());

        QVERIFY(!CRvTextCodec::Encode(QStringLiteral("🍙"), CRvTextCodec::Legacy::Cp932).has_value());
        QVERIFY(!CRvTextCodec::Decode(QByteArray("\x95"), CRvTextCodec::Legacy::Cp932).has_value());  // cut off
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
