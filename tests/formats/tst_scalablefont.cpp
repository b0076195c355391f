#include "formats/fontformats.h"
#include "formats/scalablefont.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <QFile>
#include <QtEndian>
#include <QTest>

namespace {
QByteArray dejaVuSansMonoFile()
{
    QFile file(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int inkCount(const CharBitMap &glyph)
{
    int count = 0;
    for (const std::uint8_t row : glyph)
        count += std::popcount(row);
    return count;
}

// The lowest row (0 the top) that holds ink, or -1.
int lowestInkRow(const CharBitMap &glyph)
{
    int lowest = -1;
    for (int row = 0; row < GlyphSize; ++row)
        lowest = glyph[size_t(row)] ? row : lowest;
    return lowest;
}

// The ink of a character as FreeType itself draws it at the size, uncut: what the cell must hold
// unless the character is reported clipped.
int freeTypeInk(FT_Face face, char32_t character)
{
    if (FT_Load_Char(face, character, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
        return -1;
    const FT_Bitmap &bitmap = face->glyph->bitmap;
    int count = 0;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        for (unsigned byte = 0; byte < (bitmap.width + 7) / 8; ++byte)
            count += std::popcount(unsigned(bitmap.buffer[row * unsigned(bitmap.pitch) + byte]));
    }
    return count;
}
} // namespace

// Scalable fonts drawn into the 8x8 cell: where the one baseline goes, and DejaVu Sans Mono
// against FreeType's own drawing of it.
class TestScalableFont final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void baseline_data();
    void baseline();
    void dejaVuSansMono_data();
    void dejaVuSansMono();
    void refused_data();
    void refused();
};

void TestScalableFont::baseline_data()
{
    QTest::addColumn<QList<InkRows>>("letters");
    QTest::addColumn<QList<InkRows>>("others");
    QTest::addColumn<int>("preferred");
    QTest::addColumn<int>("rowsAbove");
    // Ink from row bottom up to below row top, counted upwards from the baseline.
    const auto ink = [](int top, int bottom, int pixels = 1) {
        return InkRows {bottom, QList<int>(top - bottom, pixels)};
    };
    const InkRows x = ink(4, 0), cap = ink(6, 0), g = ink(4, -2), accented = ink(7, 0);
    QTest::newRow("letters fill the cell") << QList {x, cap, g} << QList {accented} << 7 << 6;
    QTest::newRow("room above: accents get it")
        << QList {cap, ink(4, -1)} << QList {accented} << 6 << 7;
    QTest::newRow("letters taller than the cell: fewest of their pixels cut")
        << QList {ink(8, 0), ink(4, -3, 3)} << QList {accented, accented} << 8 << 5;
    QTest::newRow("letters taller than the cell: then fewest of all")
        << QList {ink(7, 0), g} << QList {accented, accented, g} << 0 << 7;
    QTest::newRow("no letters: every glyph decides")
        << QList<InkRows> {} << QList {ink(3, -3), ink(2, -1)} << 0 << 3;
}

void TestScalableFont::baseline()
{
    QFETCH(QList<InkRows>, letters);
    QFETCH(QList<InkRows>, others);
    QFETCH(int, preferred);
    QFETCH(int, rowsAbove);
    QCOMPARE(baselineRows(letters, letters + others, preferred), rowsAbove);
}

void TestScalableFont::dejaVuSansMono_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("descendersWhole");
    QTest::newRow("8 pixels") << 8 << true;
    QTest::newRow("9 pixels: descenders clipped") << 9 << false;
    QTest::newRow("12 pixels: much is clipped") << 12 << false;
}

void TestScalableFont::dejaVuSansMono()
{
    QFETCH(int, size);
    QFETCH(bool, descendersWhole);
    const QByteArray font = dejaVuSansMonoFile();
    if (font.isEmpty())
        QSKIP("DejaVu Sans Mono (package fonts-dejavu-core) is not installed.");
    ReadOptions options;
    options.pixelSize = size;
    const ImportResult result = readFont(font, nullptr, options);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(QLatin1String(result.format->name), QLatin1String("ttf"));

    // Letters without descenders stand on one row; g, j, p, q and y reach below it.
    const int baseline = lowestInkRow(glyphOf(result.font, 'a'));
    for (const QChar letter :
         QStringLiteral("bcdefhiklmnorstuvwxzABCDEFGHIKLMNOPRSTUVWXYZ0123456789")) {
        if (!result.clipped.contains(letter.unicode()))
            QVERIFY2(lowestInkRow(glyphOf(result.font, letter.unicode())) == baseline,
                     qPrintable(QString(letter)));
    }
    for (const QChar letter : QStringLiteral("gjpqy")) {
        QVERIFY(!descendersWhole || !result.clipped.contains(letter.unicode()));
        QVERIFY(!descendersWhole
                || lowestInkRow(glyphOf(result.font, letter.unicode())) > baseline);
    }

    // Nothing lost unreported: each printable Latin-1 character holds all of FreeType's ink
    // unless it is listed as clipped, and a listed one lost some.
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    FT_Size_RequestRec request {FT_SIZE_REQUEST_TYPE_REAL_DIM, 0, FT_Long(size) * 64, 0, 0};
    QVERIFY(FT_Init_FreeType(&library) == 0);
    QVERIFY(FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte *>(font.constData()),
                               font.size(), 0, &face)
            == 0);
    QVERIFY(FT_Request_Size(face, &request) == 0);
    for (int code = 0x20; code < 0x100; ++code) {
        const int drawn = code < 0x7F || code > 0xA0 ? freeTypeInk(face, char32_t(code)) : 0;
        const int kept = inkCount(glyphOf(result.font, code));
        QVERIFY2(
            result.clipped.contains(code) ? kept < drawn : kept == drawn,
            qPrintable(QStringLiteral("code %1: %2 of %3 pixels").arg(code).arg(kept).arg(drawn)));
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
}

void TestScalableFont::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("size"); // 0: none given
    QTest::addColumn<QString>("message");
    QByteArray font = dejaVuSansMonoFile();
    if (!font.isEmpty()) {
        QTest::newRow("no size") << font << 0
                                 << "a scalable TrueType font, which is drawn at any size: it "
                                    "needs a height in pixels from 2 to 64";
        QTest::newRow("truncated") << font.left(4096) << 8 << "not a font FreeType can read";
        // hhea's ascent and descent (at 4 and 6 in the table) of 1 and 0 units: the size asked
        // for makes glyphs thousands of pixels across.
        const qsizetype entry = font.indexOf("hhea");
        const qsizetype hhea = qFromBigEndian<quint32>(font.constData() + entry + 8);
        font.replace(hhea + 4, 4, QByteArray("\0\1\0\0", 4));
        QTest::newRow("next to no height")
            << font << 8 << "reaches more than 4 times the font's height from its origin";
    }
    QTest::newRow("WOFF") << QByteArray("wOFF\0\1\0\0", 8) << 8 << "a WOFF web font";
}

void TestScalableFont::refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, size);
    QFETCH(QString, message);
    ReadOptions options;
    if (size > 0)
        options.pixelSize = size;
    const ImportResult result = readFont(bytes, formatNamed(u"ttf"), options);
    QVERIFY2(result.error.contains(message), qPrintable(result.error));
}

QTEST_GUILESS_MAIN(TestScalableFont)
#include "tst_scalablefont.moc"
