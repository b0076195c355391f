#include "core/modtools.h"

#include <QTest>

// File names from paths, and the window caption that names the current font file.
class TestModTools final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fileNameOf_data();
    void fileNameOf();
    void title_data();
    void title();
};

void TestModTools::fileNameOf_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("windows") << "C:\\Fonts\\big.pf"
                             << "big.pf";
    QTest::newRow("forward slashes") << "C:/Fonts/big.pf"
                                     << "big.pf";
    QTest::newRow("unix") << "/home/u/fonts/big.pf"
                          << "big.pf";
    QTest::newRow("drive relative") << "C:big.pf"
                                    << "big.pf";
    QTest::newRow("bare") << "big.pf"
                          << "big.pf";
    QTest::newRow("trailing backslash") << "C:\\Fonts\\"
                                        << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("no extension") << "/tmp/font"
                                  << "font";
}

void TestModTools::fileNameOf()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(FileNameOf(path), name);
}

void TestModTools::title_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("no file") << ""
                             << ""
                             << "8x8 ROM Glyphwright Editor";
    QTest::newRow("spaces only") << "   "
                                 << ""
                                 << "8x8 ROM Glyphwright Editor";
    QTest::newRow("a file") << "C:\\Fonts\\big.pf"
                            << "big.pf"
                            << "8x8 ROM Glyphwright Editor (big.pf)";
    QTest::newRow("spaces trimmed") << "  /tmp/big.pf  "
                                    << "big.pf"
                                    << "8x8 ROM Glyphwright Editor (big.pf)";
    QTest::newRow("only spaces are trimmed") << "\t/tmp/a.pf\t"
                                             << "a.pf\t"
                                             << "8x8 ROM Glyphwright Editor (a.pf\t)";
    QTest::newRow("trailing backslash") << "C:\\Fonts\\"
                                        << ""
                                        << "8x8 ROM Glyphwright Editor ()";
}

void TestModTools::title()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    const EditorTitle title = editorTitleFor(path);
    QCOMPARE(title.fileName, name);
    QCOMPARE(title.caption, caption);
}

QTEST_APPLESS_MAIN(TestModTools)
#include "tst_modtools.moc"
