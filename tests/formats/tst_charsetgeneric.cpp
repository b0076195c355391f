#include "formats/characterset.h"

#include <QTest>

// The character sets of builds without iconv (the Windows build), compiled here from the same
// sources: Latin-1 by its usual names, and a clear word for any other set.
class TestCharsetGeneric final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void latin1Alone();
};

void TestCharsetGeneric::latin1Alone()
{
    QString why;
    for (const char *name : {"latin1", "ISO-8859-1", "iso_8859-1"}) {
        const std::optional<CharacterSet> set = CharacterSet::named(QLatin1String(name), &why);
        QVERIFY2(set && set->isLatin1() && set->code(U'\u00E9') == 0xE9, name);
    }
    QVERIFY(!CharacterSet::named(QStringLiteral("cp437"), &why));
    QVERIFY2(why.contains(QLatin1String("other character sets need the Linux build")),
             qPrintable(why));
}

QTEST_APPLESS_MAIN(TestCharsetGeneric)
#include "tst_charsetgeneric.moc"
