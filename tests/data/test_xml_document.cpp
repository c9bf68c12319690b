// XML document access: the query rules, the encodings a variety file may be written in, and the
// files that must not load.

#include "data/CXmlDocument.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kNone = QStringLiteral("<default>");

}  // namespace

class TestXmlDocument : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_nFile = 0;

    QString WriteFile(const QByteArray &bytes)
    {
        const QString path = m_dir.path() + QStringLiteral("/f%1.xml").arg(++m_nFile);
        TestFiles::Write(path, bytes);
        return path;
    }

    QString Query(const QString &xml, const QString &parent, const QString &attr, const QString &value,
                  const QString &child)
    {
        CXmlDocument doc;
        doc.CreateNewDocument();
        if (!doc.LoadFile(WriteFile(xml.toUtf8())))
            return QStringLiteral("<not loaded>");
        return doc.GetNodeText(parent, attr, value, child, kNone);
    }

private Q_SLOTS:
    void queries_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("attr");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("child");
        QTest::addColumn<QString>("expected");

        const QString grains = QStringLiteral("<GRoot><Header><DataCount>3</DataCount></Header>"
                                              "<Grain Index=\"1\"><Name>one</Name></Grain>"
                                              "<Grain Index=\"01\"><Name>zero-one</Name></Grain>"
                                              "<Grain Index=\"abc\"><Name>lower</Name></Grain>"
                                              "<Grain Index=\"1\"><Name>second one</Name></Grain>"
                                              "</GRoot>");
        QTest::newRow("no parent name: below the root") << grains << ""
                                                        << ""
                                                        << ""
                                                        << "DataCount"
                                                        << "3";
        QTest::newRow("no attribute value: first of the name") << grains << "Grain"
                                                               << "Index"
                                                               << ""
                                                               << "Name"
                                                               << "one";
        QTest::newRow("no attribute name: first of the name") << grains << "Grain"
                                                              << ""
                                                              << "1"
                                                              << "Name"
                                                              << "one";
        QTest::newRow("first match in document order") << grains << "Grain"
                                                       << "Index"
                                                       << "1"
                                                       << "Name"
                                                       << "one";
        QTest::newRow("textual comparison") << grains << "Grain"
                                            << "Index"
                                            << "01"
                                            << "Name"
                                            << "zero-one";
        QTest::newRow("case counts") << grains << "Grain"
                                     << "Index"
                                     << "ABC"
                                     << "Name" << kNone;
        QTest::newRow("no such attribute value") << grains << "Grain"
                                                 << "Index"
                                                 << "7"
                                                 << "Name" << kNone;
        QTest::newRow("no such parent") << grains << "Seed"
                                        << ""
                                        << ""
                                        << "Name" << kNone;
        QTest::newRow("no such child") << grains << "Grain"
                                       << "Index"
                                       << "1"
                                       << "Class" << kNone;
        QTest::newRow("no child name") << grains << "Grain"
                                       << "Index"
                                       << "1"
                                       << "" << kNone;
        QTest::newRow("element without the attribute is passed over")
            << "<R><Grain><Name>no index</Name></Grain><Grain Index=\"0\"><Name>zero</Name></Grain></R>"
            << "Grain"
            << "Index"
            << "0"
            << "Name"
            << "zero";
        QTest::newRow("parent at any depth, child at any depth")
            << "<R><a><b><Grain Index=\"0\"><x><y><Name>deep</Name></y></x></Grain></b></a></R>"
            << "Grain"
            << "Index"
            << "0"
            << "Name"
            << "deep";
        QTest::newRow("child outside the parent is not found") << "<R><Name>outside</Name><Grain Index=\"0\"/></R>"
                                                               << "Grain"
                                                               << "Index"
                                                               << "0"
                                                               << "Name" << kNone;
        QTest::newRow("present but empty child") << "<R><Grain Index=\"0\"><Name/></Grain></R>"
                                                 << "Grain"
                                                 << "Index"
                                                 << "0"
                                                 << "Name"
                                                 << "";
        QTest::newRow("text trimmed") << "<R><Name>\n    きらら397\n  </Name></R>"
                                      << ""
                                      << ""
                                      << ""
                                      << "Name"
                                      << "きらら397";
        QTest::newRow("ideographic spaces are text") << "<R><Name>\t　米　\r\n</Name></R>"
                                                     << ""
                                                     << ""
                                                     << ""
                                                     << "Name"
                                                     << "　米　";
        QTest::newRow("whole descendant text") << "<R><Name> a<b>b<c>c</c></b><![CDATA[<d>]]> &amp;e </Name></R>"
                                               << ""
                                               << ""
                                               << ""
                                               << "Name"
                                               << "abc<d> &e";
        QTest::newRow("any root element") << "<Other><Grain Index=\"2\"><ID>7</ID></Grain></Other>"
                                          << "Grain"
                                          << "Index"
                                          << "2"
                                          << "ID"
                                          << "7";
        QTest::newRow("attribute white space normalised") << "<R><Grain Index=\"a&#10;b\"><ID>x</ID></Grain></R>"
                                                          << "Grain"
                                                          << "Index"
                                                          << "a\nb"
                                                          << "ID"
                                                          << "x";
    }

    void queries()
    {
        QFETCH(QString, xml);
        QFETCH(QString, parent);
        QFETCH(QString, attr);
        QFETCH(QString, value);
        QFETCH(QString, child);
        QFETCH(QString, expected);
        QCOMPARE(Query(xml, parent, attr, value, child), expected);
    }

    void freshAndEmptyDocuments()
    {
        CXmlDocument doc;
        QVERIFY(doc.GetRoot().IsNull());
        QCOMPARE(doc.GetNodeText(QString(), QString(), QString(), QStringLiteral("X"), kNone), kNone);
        QVERIFY(doc.CreateNewDocument());
        QVERIFY(!doc.GetRoot().IsNull());
        QVERIFY(doc.FindElement(QStringLiteral("GRoot"), QString(), QString()) == doc.GetRoot());
        QCOMPARE(doc.GetNodeText(QStringLiteral("Header"), QString(), QString(), QStringLiteral("DataCount"),
                                 QStringLiteral("0")),
                 QStringLiteral("0"));
    }

    void encodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QString body = QStringLiteral("<GRoot><Grain Index=\"0\"><Name>表ソ・きらら397</Name></Grain></GRoot>");
        const QString utf8Decl = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
        const QString utf16Decl = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n");
        QTest::newRow("UTF-8 declared") << (utf8Decl + body).toUtf8();
        QTest::newRow("UTF-8 without declaration") << body.toUtf8();
        QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF") + (utf8Decl + body).toUtf8();
        QTest::newRow("UTF-16 LE") << TestFiles::Utf16(utf16Decl + body, true);
        QTest::newRow("UTF-16 BE") << TestFiles::Utf16(utf16Decl + body, false);
        QTest::newRow("UTF-16 LE without BOM") << TestFiles::Utf16(utf16Decl + body, true, false);
        for (const char *name : {"Shift_JIS", "shift_jis", "Windows-31J", "CP932"})
            QTest::newRow(name) << TestFiles::Legacy(
                QStringLiteral("<?xml version='1.0' encoding='%1'?>\n").arg(QLatin1String(name)) + body, "CP932");
        QTest::newRow("EUC-JP") << TestFiles::Legacy(
            QStringLiteral("<?xml version=\"1.0\" encoding=\"EUC-JP\"?>\n") + body, "EUC-JP");
    }

    void encodings()
    {
        QFETCH(QByteArray, bytes);
        CXmlDocument doc;
        QVERIFY(doc.LoadFile(WriteFile(bytes)));
        QCOMPARE(doc.GetNodeText(QStringLiteral("Grain"), QStringLiteral("Index"), QStringLiteral("0"),
                                 QStringLiteral("Name"), kNone),
                 QStringLiteral("表ソ・きらら397"));
    }

    // None of these loads; the queries then give their defaults, and the content given before
    // the failed load stays.
    void refusedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not well-formed") << QByteArray("<GRoot><Grain Index=\"0\"><Name>x</Grain></GRoot>");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("no root element") << QByteArray("<?xml version=\"1.0\"?>\n<!-- nothing -->\n");
        QTest::newRow("other declared encoding")
            << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><GRoot><Name>\xE9</Name></GRoot>");
        QTest::newRow("invalid UTF-8") << QByteArray("<GRoot><Name>\x95\x5C</Name></GRoot>");
        QTest::newRow("Shift_JIS bytes declared UTF-8") << TestFiles::Legacy(
            QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><GRoot><Name>米</Name></GRoot>"), "CP932");
        QTest::newRow("UTF-8 BOM declaring Shift_JIS")
            << QByteArray("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><GRoot/>");
        QTest::newRow("UTF-16 BOM declaring UTF-8")
            << TestFiles::Utf16(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><GRoot/>"), true);
        QTest::newRow("internal entity") << QByteArray(
            "<!DOCTYPE GRoot [<!ENTITY n \"injected\">]><GRoot><Name>&n;</Name></GRoot>");
        QTest::newRow("external entity") << QByteArray(
            "<!DOCTYPE GRoot [<!ENTITY n SYSTEM \"file:///etc/passwd\">]><GRoot><Name>&n;</Name></GRoot>");
        QTest::newRow("parameter entity")
            << QByteArray("<!DOCTYPE GRoot [<!ENTITY % p SYSTEM \"http://localhost/x.dtd\"> %p;]><GRoot/>");
        QTest::newRow("second top-level element")
            << QByteArray("<GRoot><Name>a</Name></GRoot><Grain Index=\"0\"><Name>b</Name></Grain>");
        QTest::newRow("text after the root element") << QByteArray("<GRoot><Name>a</Name></GRoot>junk");
        QTest::newRow("undeclared entity with an external DTD")
            << QByteArray("<!DOCTYPE GRoot SYSTEM \"grain.dtd\"><GRoot><Name>&brand;</Name></GRoot>");
        QTest::newRow("undeclared entity in an attribute") << QByteArray("<GRoot><Grain Index=\"&i;\"/></GRoot>");
        QTest::newRow("bare ampersand") << QByteArray("<GRoot><Name>rice & wheat</Name></GRoot>");
        QTest::newRow("reference to a character XML forbids") << QByteArray("<GRoot><Name>a&#0;b</Name></GRoot>");
        QTest::newRow("billion laughs") << QByteArray(
            "<!DOCTYPE GRoot [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]><GRoot><Name>&b;</Name></GRoot>");
    }

    void refusedFiles()
    {
        QFETCH(QByteArray, bytes);
        CXmlDocument doc;
        QVERIFY(doc.CreateNewDocument());
        QVERIFY(!doc.LoadFile(WriteFile(bytes)));
        QCOMPARE(doc.GetNodeText(QString(), QString(), QString(), QStringLiteral("Name"), kNone), kNone);
        QVERIFY(doc.FindElement(QStringLiteral("GRoot"), QString(), QString()) == doc.GetRoot());
    }

    // What the data checker is told about a file that does not load, and the line.
    void loadErrors_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("line");
        QTest::newRow("parse error") << QByteArray("<GRoot>\n<Name>x\n</Grain>\n</GRoot>") << "not well-formed XML"
                                     << 3;
        QTest::newRow("second top-level element")
            << QByteArray("<?xml version=\"1.0\"?>\n<GRoot>\n</GRoot>\n\n<Grain/>\n")
            << "not well-formed XML: a second top-level element, <Grain>" << 5;
        QTest::newRow("undeclared entity")
            << QByteArray("<!DOCTYPE GRoot SYSTEM \"g.dtd\">\n<GRoot>\n<Name>\nx &brand; y</Name>\n</GRoot>")
            << "not well-formed XML: reference to an undeclared entity, \"&brand;\"" << 4;
        QTest::newRow("undeclared entity in an attribute")
            << QByteArray("<GRoot>\n\n<Grain Index=\"&i;\"/></GRoot>")
            << "not well-formed XML: reference to an undeclared entity, \"&i;\"" << 3;
        QTest::newRow("entity declarations") << QByteArray("\n<!DOCTYPE GRoot [<!ENTITY n \"x\">]><GRoot/>")
                                             << "entity declarations in the DOCTYPE" << 2;
        QTest::newRow("not UTF-8") << QByteArray("<GRoot>\x95\x5C</GRoot>") << "bytes that are not UTF-8" << 0;
    }

    void loadErrors()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QFETCH(int, line);
        CXmlDocument doc;
        CXmlDocument::CLoadError error;
        QVERIFY(!doc.LoadFile(WriteFile(bytes), &error));
        QVERIFY2(error.strReason.startsWith(reason), qPrintable(error.strReason));
        QCOMPARE(error.nLine, line);
    }

    // Only regular files are read, never blocking, never beyond the cap.
    void filesThatAreNotRegular()
    {
        CXmlDocument doc;
        CXmlDocument::CLoadError error;
        const QString fifo = m_dir.path() + QStringLiteral("/fifo.xml");
        TestFiles::MakeFifo(fifo);
        bool loaded = true;
        QVERIFY(TestFiles::FinishesWithin(5000, fifo, [&] { loaded = doc.LoadFile(fifo, &error); }));
        QVERIFY(!loaded);
        QCOMPARE(error.strReason, QStringLiteral("not a regular file"));

        QVERIFY(!doc.LoadFile(QStringLiteral("/dev/zero"), &error));
        QCOMPARE(error.strReason, QStringLiteral("not a regular file"));
        QVERIFY(!doc.LoadFile(m_dir.path(), &error));
        QCOMPARE(error.strReason, QStringLiteral("not a regular file"));

        const QString large = m_dir.path() + QStringLiteral("/large.xml");
        TestFiles::MakeSparse(large, CXmlDocument::kMaxFileSize + 1);
        QVERIFY(!doc.LoadFile(large, &error));
        QCOMPARE(error.strReason, QStringLiteral("too large: over 64 MiB"));
    }

    void failedLoadKeepsThePreviousContent()
    {
        CXmlDocument doc;
        QVERIFY(doc.LoadFile(WriteFile("<R><Name>kept</Name></R>")));
        QVERIFY(!doc.LoadFile(m_dir.path() + QStringLiteral("/missing.xml")));
        QVERIFY(!doc.LoadFile(WriteFile("<R><Name>half")));
        QCOMPARE(doc.GetNodeText(QString(), QString(), QString(), QStringLiteral("Name"), kNone),
                 QStringLiteral("kept"));
    }

    void doctypeWithoutEntitiesLoads()
    {
        CXmlDocument doc;
        QVERIFY(doc.LoadFile(WriteFile("<!DOCTYPE GRoot><GRoot><Name>ok</Name></GRoot>")));
        QCOMPARE(doc.GetNodeText(QString(), QString(), QString(), QStringLiteral("Name"), kNone), QStringLiteral("ok"));
    }

    // Walks are not recursive, so a deeply nested file neither overflows the stack nor fails.
    void deepNesting()
    {
        const int depth = 100000;
        QByteArray xml;
        for (int i = 0; i < depth; ++i)
            xml += "<a>";
        xml += "<Grain Index=\"0\"><Name>deep</Name></Grain>";
        for (int i = 0; i < depth; ++i)
            xml += "</a>";
        CXmlDocument doc;
        QVERIFY(doc.LoadFile(WriteFile(xml)));
        QCOMPARE(doc.GetNodeText(QStringLiteral("Grain"), QStringLiteral("Index"), QStringLiteral("0"),
                                 QStringLiteral("Name"), kNone),
                 QStringLiteral("deep"));
        QCOMPARE(doc.GetRoot().GetText(), QStringLiteral("deep"));
    }

    // Each group with the first of each field name below it, at any depth, nested groups included.
    void groupsInDocumentOrder()
    {
        CXmlDocument doc;
        QVERIFY(doc.LoadFile(WriteFile("<R><G i=\"0\"><a>1</a><G i=\"1\"><b>2</b><a>3</a></G><b>4</b></G>"
                                       "<x><G><c><a>5</a></c></G></x><a>6</a><G i=\"3\"/></R>")));
        const CXmlDocument::CGroups groups = doc.GetGroups("G", {"a", "b"});
        QCOMPARE(groups.aGroup.size(), std::size_t(4));
        QCOMPARE(groups.aField.size(), std::size_t(8));
        QCOMPARE(groups.aGroup[0].GetAttribute("i").value_or(kNone), QStringLiteral("0"));
        QCOMPARE(groups.aGroup[1].GetAttribute("i").value_or(kNone), QStringLiteral("1"));
        QVERIFY(!groups.aGroup[2].GetAttribute("i").has_value());
        QCOMPARE(groups.aGroup[3].GetAttribute("i").value_or(kNone), QStringLiteral("3"));
        const QStringList expected = {QStringLiteral("1"),
                                      QStringLiteral("2"),
                                      QStringLiteral("3"),
                                      QStringLiteral("2"),
                                      QStringLiteral("5"),
                                      kNone,
                                      kNone,
                                      kNone};
        for (std::size_t i = 0; i < groups.aField.size(); ++i) {
            const CXmlDocument::CElement field = groups.aField[i];
            QCOMPARE(field.IsNull() ? kNone : field.GetText(), expected[static_cast<qsizetype>(i)]);
        }
        QVERIFY(groups.aGroup[0].FindDescendant("G") == groups.aGroup[1]);
        QVERIFY(groups.aGroup[1].FindDescendant("G").IsNull());
    }
};

QTEST_GUILESS_MAIN(TestXmlDocument)
#include "test_xml_document.moc"
