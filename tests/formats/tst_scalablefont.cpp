#include "formats/fontformats.h"
#include "formats/scalablefont.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <QFile>
#include <QTest>

namespace {
const QString DejaVuSansMono
    = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf");

QByteArray dejaVuSansMonoBytes()
{
    QFile file(DejaVuSansMono);
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
    for (int row = GlyphSize - 1; row >= 0; --row) {
        if (glyph[size_t(row)])
            return row;
    }
    return -1;
}

// The ink of each character as FreeType itself draws it at a size, uncut: what the cell must
// hold in full unless the character is reported clipped.
QList<int> freeTypeInk(const QByteArray &font, int pixelSize, const QString &characters)
{
    QList<int> counts;
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    FT_Size_RequestRec request {FT_SIZE_REQUEST_TYPE_REAL_DIM, 0, FT_Long(pixelSize) * 64, 0, 0};
    if (FT_Init_FreeType(&library) != 0)
        return counts;
    if (FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte *>(font.constData()),
                           font.size(), 0, &face)
            == 0
        && FT_Request_Size(face, &request) == 0) {
        for (const QChar character : characters) {
            int count = -1;
            if (FT_Load_Char(face, character.unicode(), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO)
                == 0) {
                const FT_Bitmap &bitmap = face->glyph->bitmap;
                count = 0;
                for (unsigned row = 0; row < bitmap.rows; ++row) {
                    for (unsigned byte = 0; byte < (bitmap.width + 7) / 8; ++byte)
                        count += std::popcount(
                            unsigned(bitmap.buffer[row * unsigned(bitmap.pitch) + byte]));
                }
            }
            counts.append(count);
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return counts;
}
// The font with its ascent and descent (in 'hhea' and 'OS/2', font units) replaced.
QByteArray withHeight(QByteArray font, qint16 ascent, qint16 descent)
{
    const auto put16 = [&font](qsizetype at, qint16 value) {
        font[at] = char(quint16(value) >> 8);
        font[at + 1] = char(value & 0xFF);
    };
    const auto get32 = [&font](qsizetype at) {
        return qsizetype(quint8(font[at])) << 24 | quint8(font[at + 1]) << 16
               | quint8(font[at + 2]) << 8 | quint8(font[at + 3]);
    };
    const int tables = quint8(font[4]) << 8 | quint8(font[5]);
    for (int i = 0; i < tables; ++i) {
        const qsizetype entry = 12 + 16 * i;
        const qsizetype table = get32(entry + 8);
        if (font.mid(entry, 4) == "hhea") {
            put16(table + 4, ascent);
            put16(table + 6, qint16(-descent));
        } else if (font.mid(entry, 4) == "OS/2") {
            put16(table + 68, ascent); // sTypoAscender, sTypoDescender
            put16(table + 70, qint16(-descent));
            put16(table + 74, ascent); // usWinAscent, usWinDescent
            put16(table + 76, descent);
        }
    }
    return font;
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
    // Ink from row bottom up to below row top, counted upwards from the baseline, with as many
    // pixels in each row.
    const auto ink = [](int top, int bottom, int pixels = 1) {
        return InkRows {bottom, QList<int>(top - bottom, pixels)};
    };
    const InkRows x = ink(4, 0);
    const InkRows cap = ink(6, 0);
    const InkRows g = ink(4, -2);
    const InkRows accented = ink(7, 0);
    const InkRows underscore = ink(-1, -2);
    QTest::newRow("letters fill the cell") << QList {x, cap, g} << QList {accented} << 7 << 6;
    QTest::newRow("room above: accents get it")
        << QList {x, cap, ink(4, -1)} << QList {accented} << 6 << 7;
    QTest::newRow("room below: the underscore gets it")
        << QList {x, cap, ink(4, -1)} << QList {underscore} << 8 << 6;
    QTest::newRow("nothing else decides: the font's ascent")
        << QList {x, cap} << QList<InkRows> {} << 7 << 7;
    QTest::newRow("the font's ascent within the letters' range only")
        << QList {x, cap, g} << QList<InkRows> {} << 8 << 6;
    QTest::newRow("letters taller than the cell: fewest of their pixels cut")
        << QList {ink(8, 0), ink(4, -3, 3)} << QList {accented, accented} << 8 << 5;
    QTest::newRow("letters taller than the cell: then fewest of all")
        << QList {ink(7, 0), ink(4, -2)} << QList {accented, accented, g} << 0 << 7;
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
    QTest::newRow("7 pixels") << 7 << true;
    QTest::newRow("9 pixels: descenders clipped") << 9 << false;
    QTest::newRow("12 pixels: much is clipped") << 12 << false;
}

void TestScalableFont::dejaVuSansMono()
{
    QFETCH(int, size);
    QFETCH(bool, descendersWhole);
    const QByteArray font = dejaVuSansMonoBytes();
    if (font.isEmpty())
        QSKIP("DejaVu Sans Mono (package fonts-dejavu-core) is not installed.");
    ReadOptions options;
    options.pixelSize = size;
    const ImportResult result = readFont(font, nullptr, options);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(QLatin1String(result.format->name), QLatin1String("ttf"));

    // Letters without descenders stand on one row; g, j, p, q and y reach below it.
    const QString standing
        = QStringLiteral("abcdefhiklmnorstuvwxzABCDEFGHIKLMNOPRSTUVWXYZ0123456789");
    const int baseline = lowestInkRow(glyphOf(result.font, 'a'));
    QVERIFY(baseline >= 0);
    for (const QChar letter : standing) {
        if (result.clipped.contains(letter.unicode()))
            continue;
        QVERIFY2(lowestInkRow(glyphOf(result.font, letter.unicode())) == baseline,
                 qPrintable(QStringLiteral("%1 at %2 pixels").arg(letter).arg(size)));
    }
    for (const QChar letter : QStringLiteral("gjpqy")) {
        if (!descendersWhole)
            break;
        QVERIFY2(!result.clipped.contains(letter.unicode()), qPrintable(QString(letter)));
        QVERIFY2(lowestInkRow(glyphOf(result.font, letter.unicode())) > baseline,
                 qPrintable(QString(letter)));
    }

    // Nothing lost unreported: every printable Latin-1 character holds all of FreeType's ink
    // unless it is listed as clipped, and a listed one lost some.
    QString printable;
    for (int code = 0x20; code < 0x100; ++code) {
        if (code < 0x7F || code > 0xA0)
            printable += QChar(code);
    }
    const QList<int> drawn = freeTypeInk(font, size, printable);
    QCOMPARE(drawn.size(), printable.size());
    for (qsizetype i = 0; i < printable.size(); ++i) {
        const int code = printable[i].unicode();
        const int kept = inkCount(glyphOf(result.font, code));
        if (result.clipped.contains(code))
            QVERIFY2(kept < drawn[i], qPrintable(QStringLiteral("code %1").arg(code)));
        else
            QVERIFY2(
                kept == drawn[i],
                qPrintable(
                    QStringLiteral("code %1: %2 of %3 pixels").arg(code).arg(kept).arg(drawn[i])));
    }
    // The report names them; DejaVu Sans Mono has every character of Latin-1.
    QVERIFY(result.uncovered.contains(0) && !result.uncovered.contains('A'));
    QCOMPARE(result.clipped.isEmpty(),
             !result.warnings.join(QString()).contains(QStringLiteral("clipped")));
    QVERIFY(!result.warnings.join(QString()).contains(QStringLiteral("lacks")));
}

void TestScalableFont::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("size"); // 0: none given
    QTest::addColumn<QString>("message");
    const QByteArray font = dejaVuSansMonoBytes();
    if (!font.isEmpty()) {
        QTest::newRow("no size") << font << 0
                                 << "a scalable TrueType font, which is drawn at any "
                                    "size: it needs a height in pixels from 2 to 64";
        QTest::newRow("too large a size") << font << 65 << "sizes go from 2 to 64";
        QTest::newRow("truncated") << font.left(4096) << 8 << "not a font FreeType can read";
        QTest::newRow("no height") << withHeight(font, 0, 0) << 8
                                   << "FreeType cannot draw the TrueType font at 8 pixels";
        QTest::newRow("next to no height: glyphs thousands of pixels across")
            << withHeight(font, 1, 0) << 8
            << "reaches more than 4 times the font's height from its origin";
    }
    QTest::newRow("TrueType header, nothing else")
        << QByteArray("\0\1\0\0\0\0\0\0", 8) << 8 << "not a font FreeType can read";
    QTest::newRow("OpenType header, tables out of the file")
        << QByteArray("OTTO\0\1\0\0\0\0\0\0cmap\0\0\0\0\x7F\xFF\xFF\xF0\0\0\0\x10", 28) << 8
        << "not a font FreeType can read";
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
    QVERIFY(!result.ok());
    QVERIFY2(result.error.contains(message), qPrintable(result.error));
}

QTEST_GUILESS_MAIN(TestScalableFont)
#include "tst_scalablefont.moc"
