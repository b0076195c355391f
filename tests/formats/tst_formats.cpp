#include "formats/bdf.h"
#include "formats/bmpimage.h"
#include "formats/characterset.h"
#include "formats/csource.h"
#include "formats/fontformats.h"
#include "formats/gzip.h"
#include "formats/inkimage.h"
#include "formats/pngimage.h"
#include "formats/psf.h"
#include "support/formatfixtures.h"

#include <QTest>

namespace {
QString noCheck(int, int)
{
    return {};
}

// A font drawn by hand in BDF: 6 pixels wide, ascent 6 and descent 1, glyphs of their own
// sizes and offsets, and one code beyond 255 that an 8-bit font cannot hold.
const char HandBdf[] = R"(STARTFONT 2.1
FONT -Test-Tiny-Medium-R-Normal--7-70-75-75-C-60-ISO10646-1
SIZE 7 75 75
FONTBOUNDINGBOX 6 7 0 -1
STARTPROPERTIES 2
FONT_ASCENT 6
FONT_DESCENT 1
ENDPROPERTIES
CHARS 4
STARTCHAR A
ENCODING 65
SWIDTH 857 0
DWIDTH 6 0
BBX 5 7 0 -1
BITMAP
20
50
88
F8
88
88
00
ENDCHAR
STARTCHAR period
ENCODING 46
SWIDTH 857 0
DWIDTH 6 0
BBX 2 2 2 0
BITMAP
C0
C0
ENDCHAR
STARTCHAR accent
ENCODING 233
SWIDTH 857 0
DWIDTH 6 0
BBX 3 2 1 4
BITMAP
A0
40
ENDCHAR
STARTCHAR snowman
ENCODING 9731
SWIDTH 857 0
DWIDTH 6 0
BBX 6 6 0 0
BITMAP
FC
FC
FC
FC
FC
FC
ENDCHAR
ENDFONT
)";

CharacterSet charsetNamed(const QString &name)
{
    QString why;
    // Latin-1 stands in where the build has no other sets; those tests skip.
    return name.isEmpty() ? CharacterSet()
                          : CharacterSet::named(name, &why).value_or(CharacterSet());
}

// A Windows bitmap of run-length encoded palette indices: 0 white paper, 1 black ink.
QByteArray rleBmp(int bits, int width, int height, const QByteArray &runs)
{
    QByteArray bytes(14 + 40 + 8, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLe32(bytes, 10, 14 + 40 + 8);
    putLe32(bytes, 14, 40);
    putLe32(bytes, 18, static_cast<quint32>(width));
    putLe32(bytes, 22, static_cast<quint32>(height));
    bytes[26] = 1;
    bytes[28] = static_cast<char>(bits);
    putLe32(bytes, 30, bits == 8 ? 1 : 2); // BI_RLE8, BI_RLE4
    putLe32(bytes, 46, 2);
    putLe32(bytes, 54, 0x00FFFFFF);
    return bytes + runs;
}

QByteArray bdfOfSize(int width, int ascent, int descent)
{
    const QByteArray w = QByteArray::number(width);
    const QByteArray h = QByteArray::number(ascent + descent);
    QByteArray bdf = "STARTFONT 2.1\nFONT big\nSIZE 16 75 75\nFONTBOUNDINGBOX " + w + " " + h
                     + " 0 -" + QByteArray::number(descent) + "\nSTARTPROPERTIES 2\nFONT_ASCENT "
                     + QByteArray::number(ascent) + "\nFONT_DESCENT " + QByteArray::number(descent)
                     + "\nENDPROPERTIES\nCHARS 1\nSTARTCHAR A\nENCODING 65\nSWIDTH 500 0\nDWIDTH "
                     + w + " 0\nBBX " + w + " " + h + " 0 -" + QByteArray::number(descent)
                     + "\nBITMAP\n";
    for (int row = 0; row < ascent + descent; ++row)
        bdf += QByteArray((width + 7) / 8 * 2, 'F') + "\n";
    return bdf + "ENDCHAR\nENDFONT\n";
}
} // namespace

// The import and export formats of the companion: each one's bytes against its definition, and
// round trips through them with random fonts.
class TestFormats final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void characterSets_data();
    void characterSets();
    void psf1HeaderFollowsTheFormat();
    void psfUnicodeTables_data();
    void psfUnicodeTables();
    void psfGlyphsSmallerThanTheCell();
    void psf2GlyphCounts_data();
    void psf2GlyphCounts();
    void psfBadInputs_data();
    void psfBadInputs();
    void gzipDamage();
    void handWrittenBdfPlacedByAscent();
    void bdfTooLargeOrOverflowing_data();
    void bdfTooLargeOrOverflowing();
    void bdfHeaderAndCharacters();
    void freeTypeThroughCharacterSets_data();
    void freeTypeThroughCharacterSets();
    void bmpRunLengths_data();
    void bmpRunLengths();
    void lightOrDarkInk();
    void hostileFonts_data();
    void hostileFonts();
    void bmpMaskOfAllBits();
    void inkRule_data();
    void inkRule();
    void sheetLayouts_data();
    void sheetLayouts();
    void scaledSheetTakesTheMajority();
    void wrongSheetSizesListTheAccepted_data();
    void wrongSheetSizesListTheAccepted();
    void textImagePlacesLines();
    void cIdentifiers_data();
    void cIdentifiers();
    void detectionAndForeignFiles_data();
    void detectionAndForeignFiles();
    void emptyCodes();
    void subsetsKeepTheirCodes_data();
    void subsetsKeepTheirCodes();
};

void TestFormats::roundTrip_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<FontImage>("font");
    QTest::addColumn<QString>("charset"); // empty: the default, latin1
    const FontImage blank {};
    FontImage full {};
    full.fill(0xFF);
    for (const char *format :
         {"psf", "psf.gz", "bdf", "png", "png x3", "bmp 24", "bmp 1", "bmp 32 alpha"}) {
        QTest::addRow("%s random", format)
            << QString::fromLatin1(format) << randomFont(qHash(format)) << QString();
        QTest::addRow("%s codes", format) << QString::fromLatin1(format) << codeFont() << QString();
        QTest::addRow("%s blank", format) << QString::fromLatin1(format) << blank << QString();
        QTest::addRow("%s full", format) << QString::fromLatin1(format) << full << QString();
    }
    // Written and read through the PSF's Unicode table and the BDF's Unicode codes.
    for (const char *format : {"psf", "bdf"})
        // cp1252, iso8859-3 and cp1255 leave codes without a character.
        for (const char *charset :
             {"cp437", "koi8-r", "iso8859-15", "cp1252", "iso8859-3", "cp1255"})
            QTest::addRow("%s %s", format, charset)
                << QString::fromLatin1(format) << randomFont(qHash(charset)) << charset;
}

void TestFormats::roundTrip()
{
    QFETCH(QString, format);
    QFETCH(FontImage, font);
    QFETCH(QString, charset);
    OTHER_CHARSET_OR_SKIP(charset);
    ReadOptions options;
    options.charset = charsetNamed(charset);
    ImportResult back;
    if (format == QLatin1String("psf"))
        back = readFont(psf1Bytes(font, options.charset), nullptr, options);
    else if (format == QLatin1String("psf.gz"))
        back = readFont(gzipped(psf1Bytes(font)), nullptr, {});
    else if (format == QLatin1String("bdf"))
        back = readFont(bdfBytes(font, QStringLiteral("Test"), options.charset), nullptr, options);
    else if (format.startsWith(QLatin1String("png")))
        back = readFont(encodePng(sheetOf(font, format.endsWith(QLatin1String("x3")) ? 3 : 1)),
                        nullptr, {});
    else {
        const BmpKind kind = format.endsWith(QLatin1String("24"))  ? BmpKind::Rgb24
                             : format.endsWith(QLatin1String("1")) ? BmpKind::Palette1
                                                                   : BmpKind::Alpha32;
        back = readFont(bmpOf(sheetOf(font, 2), kind), nullptr, {});
    }
    QVERIFY2(back.ok(), qPrintable(back.error));
    QCOMPARE(fontFileBytes(back.font), fontFileBytes(font));
    QVERIFY(back.uncovered.isEmpty());
}

void TestFormats::characterSets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("code");
    QTest::addColumn<uint>("character"); // 0xFFFFFFFF: none
    QTest::addColumn<QString>("error"); // the name is refused with this
    QTest::newRow("latin1 é") << "latin1" << 0xE9 << 0xE9u << "";
    QTest::newRow("cp437 é") << "cp437" << 0x82 << 0xE9u << "";
    QTest::newRow("koi8-r Pe") << "koi8-r" << 0xF0 << 0x41Fu << "";
    QTest::newRow("cp1252 gap") << "cp1252" << 0x81 << 0xFFFFFFFFu << "";
    // iconv's words on Linux, Windows' own there.
    QTest::newRow("unknown") << "klingon" << 0 << 0u << "knows no character set of that name";
    QTest::newRow("multi-byte") << "utf-8" << 0 << 0u << "not a single-byte";
    QTest::newRow("empty, not the locale's")
        << "" << 0 << 0u << "knows no character set of that name";
}

void TestFormats::characterSets()
{
    QFETCH(QString, name);
    if (name != QLatin1String("latin1") && !knowsOtherCharsets())
        QSKIP("this build knows Latin-1 alone; other character sets need iconv");
    QFETCH(int, code);
    QFETCH(uint, character);
    QFETCH(QString, error);
    QString why;
    const std::optional<CharacterSet> set = CharacterSet::named(name, &why);
    if (!error.isEmpty()) {
        QVERIFY(!set);
        QVERIFY2(why.contains(error), qPrintable(why));
        return;
    }
    QVERIFY2(set, qPrintable(why));
    QCOMPARE(uint(set->character(code)), character);
    QCOMPARE(set->code(character), character == 0xFFFFFFFFu ? -1 : code);
    QCOMPARE(set->isLatin1(), name.compare(QLatin1String("latin1"), Qt::CaseInsensitive) == 0);
}

void TestFormats::psf1HeaderFollowsTheFormat()
{
    // PSF 1: magic 0x36 0x04, mode 0x02 (256 glyphs and a Unicode table), charsize 8; the glyphs
    // in code order, then each glyph's 16-bit characters ended by 0xFFFF: in cp1252, code 0 is
    // U+0000, 0x80 the euro sign and 0x81 no character (nor are four more codes), which keeps
    // its glyph by position as U+F081.
    OTHER_CHARSET_OR_SKIP("cp1252");
    const FontImage font = randomFont(7);
    const QByteArray bytes = psf1Bytes(font, charsetNamed(QStringLiteral("cp1252")));
    QCOMPARE(bytes.left(4), QByteArray("\x36\x04\x02\x08", 4));
    QCOMPARE(bytes.mid(4, 2048), fontFileBytes(font));
    const QByteArray table = bytes.mid(4 + 2048);
    QCOMPARE(table.size(), 256 * 4);
    QCOMPARE(table.left(4), QByteArray("\0\0\xFF\xFF", 4));
    QCOMPARE(table.mid(0x80 * 4, 8), QByteArray("\xAC\x20\xFF\xFF\x81\xF0\xFF\xFF", 8));
}

void TestFormats::psfUnicodeTables_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("charset");
    QTest::addColumn<bool>("byPosition");
    QTest::addColumn<QList<int>>("codeAndGlyph"); // pairs; glyph -1: blank
    QTest::addColumn<QString>("report"); // the error, or where the codes came from
    // Glyph i holds character 255 - i, and glyph 0 the euro sign as well.
    QList<QList<char32_t>> reversed;
    for (int i = 0; i < 256; ++i)
        reversed.append(QList<char32_t> {char32_t(255 - i)});
    reversed[0].append(0x20AC);
    const QByteArray psf1 = QByteArray("\x36\x04\x02\x08", 4) + indexGlyphs(256);
    QTest::newRow("PSF 1 reordered") << psf1 + psfTable(1, reversed) << "latin1" << false
                                     << QList<int> {0xE9, 0x16, 0, 255, 'A', 255 - 'A'}
                                     << "charset latin1: 256 codes through the Unicode table";
    QTest::newRow("PSF 1 by position") << psf1 + psfTable(1, reversed) << "latin1" << true
                                       << QList<int> {0xE9, 0xE9, 0, 0} << "256 codes by position";
    // PSF 2, UTF-8: é only at glyph 300, 'e' at glyph 7; glyph 5's sequence (e and a combining
    // acute) and glyph 6's character after it name no single character.
    QList<QList<char32_t>> entries(512);
    entries[300] = {0xE9};
    entries[7] = {'e', 0x3B5};
    entries[5] = {SequenceStart, 'e', 0x301};
    entries[6] = {SequenceStart, 'A', 0x301, SequenceStart, 'A'};
    entries[8] = {'A', 0x391, 0x410};
    QByteArray psf2Table = psf2(512, 8, 8, indexGlyphs(512)) + psfTable(2, entries);
    putLe32(psf2Table, 12, 1);
    QTest::newRow("PSF 2 of 512") << psf2Table << "latin1" << false
                                  << QList<int> {0xE9, 300, 'e', 7, 'A', 8, 'B', -1}
                                  << "3 codes through the Unicode table, 253 codes without";
    QTest::newRow("table cut short")
        << psf1 + psfTable(1, reversed).chopped(3) << "latin1" << false << QList<int> {}
        << "the Unicode table ends at glyph 255 of 256";
    QTest::newRow("no character of the set")
        << psf1 + psfTable(1, QList<QList<char32_t>>(256, {0x4E00})) << "latin1" << false
        << QList<int> {} << "has none of the characters of latin1";
    QByteArray notUtf8 = psf2Table;
    notUtf8[notUtf8.indexOf("\xC3\xA9")] = '\x80';
    QTest::newRow("PSF 2 table not UTF-8")
        << notUtf8 << "latin1" << false << QList<int> {} << "not UTF-8 (0x80) at glyph 300";
    // Well-formed bytes of what UTF-8 does not allow: 'A' in three bytes, a surrogate, and a
    // value past U+10FFFF.
    const std::pair<const char *, QByteArray> notCharacters[]
        = {{"overlong", "\xE0\x81\x81"},
           {"surrogate", "\xED\xA0\x80"},
           {"past U+10FFFF", "\xF4\x90\x80\x80"}};
    for (const auto &[name, sequence] : notCharacters) {
        QByteArray table = psf2Table;
        table.replace(table.indexOf("\xC3\xA9"), 2, sequence);
        QTest::addRow("PSF 2 table %s", name)
            << table << "latin1" << false << QList<int> {}
            << QStringLiteral("not UTF-8 (0x%1) at glyph 300")
                   .arg(QString::number(quint8(sequence[0]), 16).toUpper());
    }
}

void TestFormats::psfUnicodeTables()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, charset);
    OTHER_CHARSET_OR_SKIP(charset);
    QFETCH(bool, byPosition);
    QFETCH(QList<int>, codeAndGlyph);
    QFETCH(QString, report);
    ReadOptions options;
    options.charset = charsetNamed(charset);
    options.byPosition = byPosition;
    const ImportResult result = readFont(bytes, nullptr, options);
    if (codeAndGlyph.isEmpty()) {
        QVERIFY2(result.error.contains(report), qPrintable(result.error));
        // What the message offers reads the font: its glyphs in their order.
        QVERIFY(result.remedy == ImportResult::Remedy::ByPosition
                || result.remedy == ImportResult::Remedy::CharsetOrByPosition);
        options.byPosition = true;
        QVERIFY(readFont(bytes, nullptr, options).ok());
        return;
    }
    QVERIFY2(result.ok(), qPrintable(result.error));
    for (qsizetype i = 0; i < codeAndGlyph.size(); i += 2) {
        const int glyph = codeAndGlyph[i + 1];
        QCOMPARE(glyphOf(result.font, codeAndGlyph[i]),
                 glyph < 0 ? CharBitMap {} : indexGlyph(glyph));
    }
    QVERIFY2(codeSourcesText(result).contains(report), qPrintable(codeSourcesText(result)));
}

void TestFormats::psfGlyphsSmallerThanTheCell()
{
    // 5x8 in PSF 2 and 8x6 in PSF 1 sit at the top left; bits past a glyph's width are not ink.
    QByteArray narrow(256 * 8, '\xFF');
    const ImportResult fiveWide = readFont(psf2(256, 8, 5, narrow), nullptr, {});
    QVERIFY2(fiveWide.ok(), qPrintable(fiveWide.error));
    QVERIFY(fiveWide.description.contains(QLatin1String("PSF 2, 5x8, 256 glyphs")));
    QCOMPARE(glyphOf(fiveWide.font, 200),
             (CharBitMap {0xF8, 0xF8, 0xF8, 0xF8, 0xF8, 0xF8, 0xF8, 0xF8}));
    const ImportResult sixHigh
        = readFont(QByteArray("\x36\x04\x00\x06", 4) + QByteArray(256 * 6, '\x81'), nullptr, {});
    QVERIFY2(sixHigh.ok(), qPrintable(sixHigh.error));
    QCOMPARE(glyphOf(sixHigh.font, 255), (CharBitMap {0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0, 0}));
}

void TestFormats::psf2GlyphCounts_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("headerSize");
    QTest::addColumn<QString>("warning");
    QTest::newRow("256") << 256 << 32 << QString();
    QTest::newRow("512, longer header") << 512 << 48 << "only the first 256";
    QTest::newRow("100") << 100 << 32 << "codes 100 to 255 are left blank";
}

void TestFormats::psf2GlyphCounts()
{
    QFETCH(int, count);
    QFETCH(int, headerSize);
    QFETCH(QString, warning);
    QByteArray glyphs(count * 8, '\0');
    for (int i = 0; i < glyphs.size(); ++i)
        glyphs[i] = static_cast<char>(i * 13 + i / 8);
    // A Unicode table after the glyphs must not be taken for glyphs.
    const QByteArray bytes = psf2(count, 8, 8, glyphs, headerSize) + QByteArray(64, '\xFF');
    const ImportResult result = readFont(bytes, nullptr, {});
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(fontFileBytes(result.font), fontFileBytes(fontImageFromBytes(glyphs.left(2048))));
    QVERIFY(result.description.contains(QStringLiteral("PSF 2, 8x8, %1 glyphs").arg(count)));
    if (warning.isEmpty())
        QVERIFY(result.warnings.isEmpty());
    else
        QVERIFY2(result.warnings.join(u' ').contains(warning),
                 qPrintable(result.warnings.join(u' ')));
}

void TestFormats::psfBadInputs_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("PSF 1 8x16") << QByteArray("\x36\x04\x00\x10", 4) + QByteArray(4096, '\0')
                                << "PSF 1 with 8x16 glyphs";
    QTest::newRow("PSF 2 8x16") << psf2(256, 16, 8, QByteArray(4096, '\0')) << "8x16 glyphs";
    QTest::newRow("PSF 2 9x8") << psf2(256, 8, 9, QByteArray(4096, '\0')) << "9x8 glyphs";
    QByteArray wrongCharsize = psf2(256, 8, 8, QByteArray(4096, '\0'));
    putLe32(wrongCharsize, 20, 16);
    QTest::newRow("PSF 2 charsize") << wrongCharsize << "16 bytes a glyph";
    QTest::newRow("PSF 1 header") << QByteArray("\x36\x04\x00", 3) << "header is truncated";
    QTest::newRow("PSF 2 header") << psf2(256, 8, 8, {}).left(20) << "header is truncated";
    QByteArray shortHeader = psf2(256, 8, 8, QByteArray(2048, '\0'));
    putLe32(shortHeader, 8, 16);
    QTest::newRow("PSF 2 header size") << shortHeader << "at least 32";
    QTest::newRow("PSF 1 glyphs") << psf1Bytes({}).left(1000) << "truncated: 256 glyphs need 2,048";
    QTest::newRow("PSF 1 of 512") << QByteArray("\x36\x04\x01\x08", 4) + QByteArray(2048, '\0')
                                  << "512 glyphs need 4,096";
    // One glyph, or one byte, short of what the header says: never read past the end (the round
    // trips read fonts that end exactly at their last glyph).
    QTest::newRow("PSF 2 a glyph short") << psf2(100, 8, 8, QByteArray(99 * 8, '\x55'))
                                         << "100 glyphs need 800 bytes after the "
                                            "header, the file has 792";
    QTest::newRow("PSF 1 a byte short")
        << QByteArray("\x36\x04\x00\x08", 4) + QByteArray(2047, '\0') << "the file has 2,047";
    QTest::newRow("PSF 2 of no glyphs") << psf2(0, 8, 8, {}) << "glyph count of 0";
    QTest::newRow("PSF 2 huge count")
        << psf2(0xFFFFFFFF, 8, 8, QByteArray(2048, '\0')) << "truncated";
}

void TestFormats::psfBadInputs()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    for (const QByteArray &input : {bytes, gzipped(bytes)}) {
        const ImportResult result = readFont(input, nullptr, {});
        QVERIFY(!result.ok());
        QVERIFY2(result.error.contains(message), qPrintable(result.error));
    }
}

void TestFormats::gzipDamage()
{
    const QByteArray packed = gzipped(psf1Bytes(randomFont(3)));
    QVERIFY(isGzip(packed));
    QCOMPARE(gunzip(packed, 1 << 20).bytes, psf1Bytes(randomFont(3)));
    for (const qsizetype cut :
         {qsizetype(2), qsizetype(10), packed.size() / 2, packed.size() - 1}) {
        const Inflated result = gunzip(packed.left(cut), 1 << 20);
        QVERIFY2(result.error.contains(QLatin1String("truncated")), qPrintable(result.error));
    }
    QByteArray damaged = packed;
    damaged[damaged.size() - 6] = static_cast<char>(damaged[damaged.size() - 6] ^ 0x55); // CRC
    QVERIFY(gunzip(damaged, 1 << 20).error.contains(QLatin1String("damaged")));
    QVERIFY(gunzip(packed, 1000).error.contains(QLatin1String("more than 1,000")));
}

void TestFormats::handWrittenBdfPlacedByAscent()
{
    const ImportResult result = readFont(QByteArray(HandBdf), nullptr, {});
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.description, QStringLiteral("BDF, 6x7"));
    // The baseline lies 6 rows down: 'A' fills rows 0 to 6, the period sits on the baseline
    // two pixels in, the accent starts at the top one pixel in.
    QCOMPARE(glyphOf(result.font, 'A'), (CharBitMap {0x20, 0x50, 0x88, 0xF8, 0x88, 0x88, 0, 0}));
    QCOMPARE(glyphOf(result.font, '.'), (CharBitMap {0, 0, 0, 0, 0x30, 0x30, 0, 0}));
    QCOMPARE(glyphOf(result.font, 233), (CharBitMap {0x50, 0x20, 0, 0, 0, 0, 0, 0}));
    QCOMPARE(emptyCodesText(result.font), QStringLiteral("0-45, 47-64, 66-232, 234-255"));
    // It names no character set: its codes are taken as they are.
    QVERIFY2(codeSourcesText(result).startsWith(
                 QLatin1String("3 codes as the font numbers them (it names no character set), "
                               "253 codes without a glyph")),
             qPrintable(codeSourcesText(result)));
}

void TestFormats::bdfTooLargeOrOverflowing_data()
{
    QTest::addColumn<QByteArray>("bdf");
    QTest::addColumn<QString>("message");
    QTest::newRow("8x16") << bdfOfSize(8, 12, 4) << "8x16 pixels; only fonts up to 8x8";
    QTest::newRow("9x8") << bdfOfSize(9, 7, 1) << "9x8 pixels";
    QByteArray overflowing = HandBdf;
    overflowing.replace("BBX 3 2 1 4", "BBX 3 2 6 4");
    // FreeType widens the font to its widest glyph.
    QTest::newRow("glyph past the right edge") << overflowing << "9x7 pixels";
    overflowing = HandBdf;
    overflowing.replace("BBX 3 2 1 4", "BBX 3 2 1 6");
    QTest::newRow("glyph above the cell") << overflowing << "code 233 (0xE9) reaches outside";
    QTest::newRow("no code 0 to 255") << bdfOfSize(8, 7, 1).replace("ENCODING 65", "ENCODING 9000")
                                      << "no glyph with a code from 0 to 255";
    QTest::newRow("not a font") << QByteArray("STARTFONT but nothing else\n")
                                << "not a font FreeType can read";
}

void TestFormats::bdfTooLargeOrOverflowing()
{
    QFETCH(QByteArray, bdf);
    QFETCH(QString, message);
    const ImportResult result = readFont(bdf, nullptr, {});
    QVERIFY(!result.ok());
    QVERIFY2(result.error.contains(message), qPrintable(result.error));
}

void TestFormats::bdfHeaderAndCharacters()
{
    const QByteArray bdf = bdfBytes(randomFont(5), QStringLiteral("My-Font \"2\""));
    const QList<QByteArray> lines = bdf.split('\n');
    QCOMPARE(lines.first(), QByteArray("STARTFONT 2.1"));
    QVERIFY(
        lines.contains("FONT -Glyphwright-My Font 2-Medium-R-Normal--8-80-75-75-C-80-ISO8859-1"));
    QVERIFY(lines.contains("FONTBOUNDINGBOX 8 8 0 -1"));
    QVERIFY(lines.contains("FONT_ASCENT 7") && lines.contains("FONT_DESCENT 1"));
    QVERIFY(lines.contains("CHARS 256"));
    // The property count is what the reader checks the properties against.
    const qsizetype first = lines.indexOf("ENDPROPERTIES");
    const qsizetype start = lines.indexOf("STARTPROPERTIES 16");
    QVERIFY(start > 0);
    QCOMPARE(first - start - 1, 16);
    QCOMPARE(bdf.count("STARTCHAR"), 256);
    QCOMPARE(bdf.count("\nDWIDTH 8 0\n"), 256);
    QCOMPARE(bdf.count("\nBBX 8 8 0 -1\nBITMAP\n"), 256);
    QVERIFY(bdf.contains("STARTCHAR char255\nENCODING 255\n"));
    QVERIFY(bdf.endsWith("ENDCHAR\nENDFONT\n"));
    QVERIFY(lines.contains("CHARSET_REGISTRY \"ISO8859\"")
            && lines.contains("CHARSET_ENCODING \"1\""));
    // Any other set as Unicode: cp1252's 0x80 at the euro sign, its 0x81 by position.
    OTHER_CHARSET_OR_SKIP("cp1252");
    const QByteArray unicode
        = bdfBytes(randomFont(5), QStringLiteral("x"), charsetNamed(QStringLiteral("cp1252")));
    QVERIFY(unicode.contains("-C-80-ISO10646-1\nSIZE")
            && unicode.contains("CHARSET_REGISTRY \"ISO10646\"\nCHARSET_ENCODING \"1\"\n"));
    QVERIFY(unicode.contains("STARTCHAR char128\nENCODING 8364\n")
            && unicode.contains("STARTCHAR char129\nENCODING 61569\n"));
}

void TestFormats::hostileFonts_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("format"); // empty: told from the content
    QTest::addColumn<QString>("message"); // empty: read, and the font must be as expected
    QTest::addColumn<FontImage>("expected");
    const QByteArray psf = psf1Bytes(codeFont());
    // A glyph with a size (BBX) and no BITMAP lines: FreeType gives rows but no buffer.
    QByteArray noBitmap = bdfOfSize(8, 7, 1);
    noBitmap.replace(noBitmap.indexOf("BITMAP\n"),
                     noBitmap.indexOf("ENDCHAR") - noBitmap.indexOf("BITMAP\n"), "");
    QTest::newRow("BDF glyph without bitmap lines") << noBitmap << ""
                                                    << "" << FontImage {};
    QByteArray zeroCell = bdfOfSize(8, 7, 1);
    zeroCell.replace("FONTBOUNDINGBOX 8 8 0 -1", "FONTBOUNDINGBOX 0 0 0 0")
        .replace("FONT_ASCENT 7", "FONT_ASCENT 0")
        .replace("FONT_DESCENT 1", "FONT_DESCENT 0");
    QTest::newRow("BDF of a zero cell") << zeroCell << ""
                                        << "pixels; the file is damaged" << FontImage {};
    // FreeType's PCF driver would undo these with no limit of its own.
    QTest::newRow("gzip inside gzip") << gzipped(gzipped(psf)) << ""
                                      << "compressed twice" << FontImage {};
    QTest::newRow("gzip inside gzip, as bdf")
        << gzipped(gzipped(bdfBytes(codeFont(), QStringLiteral("x")))) << "bdf"
        << "compressed twice" << FontImage {};
    QTest::newRow("compress (LZW)") << QByteArray("\x1F\x9D\x90\x01\x02\x03") << "bdf"
                                    << "compress (LZW)" << FontImage {};
    QTest::newRow("bzip2 inside gzip") << gzipped("BZh91AY&SY") << ""
                                       << "bzip2" << FontImage {};
    // FreeType refuses an X font name over 255 characters.
    QTest::newRow("BDF of a very long family")
        << bdfBytes(codeFont(), QString(400, QLatin1Char('a'))) << ""
        << "" << codeFont();
}

void TestFormats::hostileFonts()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, format);
    QFETCH(QString, message);
    QFETCH(FontImage, expected);
    const ImportResult result
        = readFont(bytes, format.isEmpty() ? nullptr : formatNamed(format), {});
    if (message.isEmpty()) {
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(fontFileBytes(result.font), fontFileBytes(expected));
    } else {
        QVERIFY(!result.ok());
        QVERIFY2(result.error.contains(message), qPrintable(result.error));
    }
}

void TestFormats::bmpMaskOfAllBits()
{
    // A 32-bit mask's values times 255 need more than 32 bits: ink must stay opaque.
    const FontImage font = randomFont(31);
    QByteArray bmp = bmpOf(sheetOf(font, 1), BmpKind::Alpha32);
    putLe32(bmp, 66, 0xFFFFFFFF); // the alpha mask
    const ImportResult back = readFont(bmp, nullptr, {});
    QVERIFY2(back.ok(), qPrintable(back.error));
    QCOMPARE(fontFileBytes(back.font), fontFileBytes(font));
}

void TestFormats::inkRule_data()
{
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<int>("alpha");
    QTest::addColumn<bool>("ink");
    QTest::newRow("black") << 0 << 0 << 0 << 255 << true;
    QTest::newRow("white") << 255 << 255 << 255 << 255 << false;
    QTest::newRow("grey 127") << 127 << 127 << 127 << 255 << true;
    QTest::newRow("grey 128") << 128 << 128 << 128 << 255 << false;
    QTest::newRow("pure red is dark") << 255 << 0 << 0 << 255 << true;
    QTest::newRow("pure green is light") << 0 << 255 << 0 << 255 << false;
    QTest::newRow("pure blue is dark") << 0 << 0 << 255 << 255 << true;
    QTest::newRow("black alpha 128") << 0 << 0 << 0 << 128 << true;
    QTest::newRow("black alpha 127") << 0 << 0 << 0 << 127 << false;
    QTest::newRow("transparent") << 0 << 0 << 0 << 0 << false;
}

void TestFormats::inkRule()
{
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QFETCH(int, alpha);
    QFETCH(bool, ink);
    QCOMPARE(isInk(red, green, blue, alpha), ink);
}

void TestFormats::sheetLayouts_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("scale");
    QTest::newRow("128 x 128") << 128 << 128 << 16 << 1;
    QTest::newRow("256 x 64") << 256 << 64 << 32 << 1;
    QTest::newRow("256 x 256") << 256 << 256 << 16 << 2;
    QTest::newRow("768 x 192") << 768 << 192 << 32 << 3;
}

void TestFormats::sheetLayouts()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, columns);
    QFETCH(int, scale);
    // Code 33 lands at cell (1, 2) of a 16-column sheet, (1, 1) of a 32-column one.
    InkImage sheet(width, height);
    const int left = 33 % columns * 8 * scale;
    const int top = 33 / columns * 8 * scale;
    for (int y = 0; y < scale; ++y)
        for (int x = 0; x < scale; ++x)
            sheet.setInk(left + 7 * scale + x, top + 7 * scale + y); // bottom-right pixel
    const ImportResult result = fontFromSheet(sheet);
    QVERIFY2(result.ok(), qPrintable(result.error));
    FontImage expected {};
    setGlyph(expected, 33, CharBitMap {0, 0, 0, 0, 0, 0, 0, 0x01});
    QCOMPARE(fontFileBytes(result.font), fontFileBytes(expected));
}

void TestFormats::scaledSheetTakesTheMajority()
{
    // A scanned sheet has specks and ragged edges: each glyph pixel goes by most of its block.
    const FontImage font = randomFont(11);
    InkImage sheet = sheetOf(font, 3);
    for (int i = 0; i < static_cast<int>(sheet.pixels.size()); i += 9)
        sheet.pixels[i] ^= 1; // at most one pixel of any 3 x 3 block changes
    QCOMPARE(fontFileBytes(fontFromSheet(sheet).font), fontFileBytes(font));
}

void TestFormats::wrongSheetSizesListTheAccepted_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("127 x 128") << 127 << 128;
    QTest::newRow("128 x 64") << 128 << 64;
    QTest::newRow("256 x 128") << 256 << 128;
    QTest::newRow("too large a multiple") << 128 * 33 << 128 * 33;
}

void TestFormats::wrongSheetSizesListTheAccepted()
{
    QFETCH(int, width);
    QFETCH(int, height);
    const QString error = sheetSizeError(width, height);
    QVERIFY(error.startsWith(QStringLiteral("the image is %1 x %2 pixels").arg(width).arg(height)));
    QVERIFY(error.contains(QLatin1String("128 x 128"))
            && error.contains(QLatin1String("256 x 64")));
    QCOMPARE(fontFromSheet(InkImage(width, height)).error, error);
    // A PNG of that size is refused before its pixels are decoded.
    const DecodedImage decoded = decodePng(encodePng(InkImage(width, height)), sheetSizeError);
    QCOMPARE(decoded.error, error);
}

void TestFormats::textImagePlacesLines()
{
    const FontImage font = randomFont(13);
    const InkImage image = textImage(font, {{'A', 'B'}, {}, {'C'}}, 2);
    QCOMPARE(image.width, 2 * 16);
    QCOMPARE(image.height, 3 * 16);
    const auto cellMatches = [&](int code, int cellX, int cellY) {
        for (int row = 0; row < 8; ++row)
            for (int column = 0; column < 8; ++column) {
                const bool ink = code >= 0 && (glyphOf(font, code)[row] & columnBit(column));
                for (int y = 0; y < 2; ++y)
                    for (int x = 0; x < 2; ++x)
                        if (image.ink(cellX * 16 + column * 2 + x, cellY * 16 + row * 2 + y) != ink)
                            return false;
            }
        return true;
    };
    QVERIFY(cellMatches('A', 0, 0));
    QVERIFY(cellMatches('B', 1, 0));
    QVERIFY(cellMatches(-1, 0, 1)); // an empty line is paper
    QVERIFY(cellMatches('C', 0, 2));
    QVERIFY(cellMatches(-1, 1, 2)); // a short line ends in paper, not in spaces
    // A PNG of it is greyscale, black on white, with no time chunk: stable bytes.
    const QByteArray png = encodePng(image);
    QCOMPARE(png, encodePng(image));
    QVERIFY(!png.contains("tIME"));
    const DecodedImage decoded = decodePng(png, noCheck);
    QCOMPARE(decoded.image.pixels, image.pixels);
}

void TestFormats::cIdentifiers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("identifier");
    QTest::newRow("plain") << "font8x8"
                           << "font8x8";
    QTest::newRow("dashes and dots") << "my-font.v2"
                                     << "my_font_v2";
    QTest::newRow("digit first") << "8x8"
                                 << "font_8x8";
    QTest::newRow("underscore first") << "_Big"
                                      << "font_Big";
    QTest::newRow("keyword") << "int"
                             << "font_int";
    // The header is included from C++ too.
    for (const char *word : {"new", "class", "template", "bool", "and", "nullptr"})
        QTest::addRow("C++ keyword %s", word) << word << QStringLiteral("font_") + word;
    // Macros of the compilers' default modes, and main.
    for (const char *word : {"linux", "unix", "i386", "AVR", "WIN32", "main"})
        QTest::addRow("reserved %s", word) << word << QStringLiteral("font_") + word;
    QTest::newRow("non-ASCII") << "größe"
                               << "gr__e";
    QTest::newRow("empty") << ""
                           << "font";
}

void TestFormats::cIdentifiers()
{
    QFETCH(QString, name);
    QFETCH(QString, identifier);
    QCOMPARE(cIdentifier(name), identifier);
}

void TestFormats::detectionAndForeignFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("format"); // empty: told from the content
    QTest::addColumn<QString>("message");
    const QByteArray png = encodePng(sheetOf(codeFont(), 1));
    // Every format told from the content is named; raw, only read when named, is the reader's to
    // offer.
    const QString unrecognised
        = "not a PSF, BDF, PCF, Windows FON, TrueType, OpenType, Type 1, PNG, BMP, PIC assembler or "
          "font text file.";
    QTest::newRow("text") << QByteArray("hello, world\n") << "" << unrecognised;
    QTest::newRow("gzip of text") << gzipped("hello") << "" << unrecognised;
    QTest::newRow("PNG as PSF") << png << "psf"
                                << "not a PSF font";
    QTest::newRow("PNG as BDF") << png << "bdf"
                                << "not a font FreeType can read";
    QTest::newRow("PSF as image") << psf1Bytes({}) << "png"
                                  << "not a PNG or BMP picture";
    QTest::newRow("truncated PNG") << png.left(png.size() / 2) << ""
                                   << "the PNG is damaged";
    QTest::newRow("truncated BMP") << bmpOf(sheetOf({}, 1), BmpKind::Rgb24).chopped(1) << ""
                                   << "pixels are truncated";
    QTest::newRow("BMP of the wrong size") << bmpOf(InkImage(100, 100), BmpKind::Rgb24) << ""
                                           << "100 x 100 pixels";
    QTest::newRow("raw, not a glyph") << QByteArray(2055, 'x') << "raw"
                                      << "no glyph of 8 bytes (7 bytes from offset 2,048";
    // Pictures in formats other than PNG and BMP, and BMPs of kinds that are not read.
    QTest::newRow("JPEG") << QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF", 10) << ""
                          << "a JPEG picture; sheets are read from PNG or BMP only: convert it to "
                             "PNG";
    QByteArray jpegInBmp = bmpOf(sheetOf({}, 1), BmpKind::Rgb24);
    putLe32(jpegInBmp, 30, 4);
    QTest::newRow("BMP of JPEG") << jpegInBmp << ""
                                 << "a 24-bit BMP compressed with JPEG; only uncompressed";
    QByteArray sixteenBits = bmpOf(sheetOf({}, 1), BmpKind::Rgb24);
    sixteenBits[28] = 16;
}

void TestFormats::detectionAndForeignFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, format);
    QFETCH(QString, message);
    ReadOptions options;
    options.offset = 2048;
    const ImportResult result
        = readFont(bytes, format.isEmpty() ? nullptr : formatNamed(format), options);
    QVERIFY(!result.ok());
    QVERIFY2(result.error.contains(message), qPrintable(result.error));
    QCOMPARE(result.unrecognised, message.startsWith("not a PSF, BDF"));
}

void TestFormats::emptyCodes()
{
    FontImage font {};
    font.fill(1);
    QCOMPARE(emptyCodesText(font), QString());
    setGlyph(font, 0, {});
    setGlyph(font, 32, {});
    for (int code = 127; code <= 160; ++code)
        setGlyph(font, code, {});
    setGlyph(font, 255, {});
    QCOMPARE(emptyCodesText(font), QStringLiteral("0, 32, 127-160, 255"));
}

void TestFormats::subsetsKeepTheirCodes_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<CodeRange>("codes");
    for (const char *format : {"bdf", "asm"}) {
        QTest::addRow("%s 32-127", format) << format << CodeRange {32, 127};
        QTest::addRow("%s 0-0", format) << format << CodeRange {0, 0};
        QTest::addRow("%s 255-255", format) << format << CodeRange {255, 255};
    }
}

// A subset read back holds its characters at their own codes, and nothing else.
void TestFormats::subsetsKeepTheirCodes()
{
    QFETCH(QString, format);
    QFETCH(CodeRange, codes);
    const FontFormat *writer = formatNamed(format);
    const FontImage font = randomFont(codes.first + codes.last);
    WriteOptions options;
    options.codes = codes;
    const ImportResult back = readFont(writer->write(font, options), writer, {});
    QVERIFY2(back.ok(), qPrintable(back.error));
    for (int c = 0; c < CharacterCount; ++c)
        QCOMPARE(glyphOf(back.font, c), codes.contains(c) ? glyphOf(font, c) : CharBitMap {});
}

void TestFormats::freeTypeThroughCharacterSets_data()
{
    QTest::addColumn<QByteArray>("bdf");
    QTest::addColumn<QString>("charset");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("glyph"); // the code the glyph has in codeFont(); -1: blank
    QTest::addColumn<QString>("report");
    const QByteArray latin1 = bdfBytes(codeFont(), QStringLiteral("x"));
    const auto withRegistry = [&latin1](const char *registry, const char *encoding) {
        return QByteArray(latin1).replace("CHARSET_REGISTRY \"ISO8859\"\nCHARSET_ENCODING \"1\"",
                                          QByteArray("CHARSET_REGISTRY \"") + registry
                                              + "\"\nCHARSET_ENCODING \"" + encoding + "\"");
    };
    const QByteArray koi8 = withRegistry("KOI8", "R");
    QTest::newRow("KOI8-R font as koi8-r") << koi8 << "koi8-r" << 0xF0 << 0xF0
                                           << "charset koi8-r: 256 codes through the font's "
                                              "KOI8-R codes";
    QTest::newRow("KOI8-R font as cp866") << koi8 << "cp866" << 0x8F << 0xF0 << "KOI8-R codes";
    QTest::newRow("KOI8-R font as latin1") << koi8 << "latin1" << 0xE9 << -1 << "without a glyph";
    QTest::newRow("Microsoft's name") << withRegistry("MICROSOFT", "CP1251") << "koi8-r" << 0xF0
                                      << 0xCF << "MICROSOFT-CP1251 codes";
    QTest::newRow("unknown registry") << withRegistry("DEC", "DECtech") << "latin1" << 0xE9 << 0xE9
                                      << "DEC-DECtech, is not one iconv knows";
    QTest::newRow("Unicode font as latin1")
        << bdfBytes(codeFont(), QStringLiteral("x"), charsetNamed(QStringLiteral("cp437")))
        << "latin1" << 0xE9 << 0x82 << "through the font's Unicode map";
}

void TestFormats::freeTypeThroughCharacterSets()
{
    if (!knowsOtherCharsets())
        QSKIP("this build knows Latin-1 alone; every row's font or set is another");
    QFETCH(QByteArray, bdf);
    QFETCH(QString, charset);
    OTHER_CHARSET_OR_SKIP(charset);
    QFETCH(int, code);
    QFETCH(int, glyph);
    QFETCH(QString, report);
    ReadOptions options;
    options.charset = charsetNamed(charset);
    const ImportResult result = readFont(bdf, nullptr, options);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(glyphOf(result.font, code), glyph < 0 ? CharBitMap {} : glyphOf(codeFont(), glyph));
    const QString said = codeSourcesText(result) + u' ' + result.warnings.join(u' ');
    QVERIFY2(said.contains(report), qPrintable(said));
}

void TestFormats::bmpRunLengths_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<QByteArray>("runs");
    QTest::addColumn<QStringList>("rows"); // top to bottom; empty: an error
    QTest::addColumn<QString>("error");
    // Rows bottom up: a run of ink and one of paper; indices as they are (padded to a word) and
    // a run; a move right, a run of ink, the end.
    const QStringList picture {"..##....", "#.#.....", "####...."};
    QTest::newRow("RLE8") << 8
                          << QByteArray("\x04\x01\x04\x00\x00\x00"
                                        "\x00\x03\x01\x00\x01\x00\x05\x00\x00\x00"
                                        "\x00\x02\x02\x00\x02\x01\x00\x01",
                                        24)
                          << picture << "";
    QTest::newRow("RLE4") << 4
                          << QByteArray("\x04\x11\x04\x00\x00\x00"
                                        "\x00\x03\x10\x10\x05\x00\x00\x00"
                                        "\x00\x02\x02\x00\x02\x11\x00\x01",
                                        22)
                          << picture << "";
    QTest::newRow("cut short") << 8 << QByteArray("\x04\x01\x04\x00\x00\x00\x08", 7)
                               << QStringList() << "compressed pixels are truncated";
    // Runs and moves that leave the picture: the pixels start at byte 62.
    QTest::newRow("run past the row's end")
        << 8 << QByteArray("\x04\x01\x05\x00", 4) << QStringList()
        << "damaged at byte 64: 5 pixels from column 4 pass the end of a row of 8";
    QTest::newRow("indices past the row's end")
        << 4 << QByteArray("\x00\x09\x11\x11\x11\x11\x10\x00", 8) << QStringList()
        << "damaged at byte 62: 9 pixels from column 0 pass the end of a row of 8";
    QTest::newRow("move past the row's end")
        << 8 << QByteArray("\x00\x02\x09\x00", 4) << QStringList()
        << "damaged at byte 62: a move of 9 right and 0 up leaves the picture";
    QTest::newRow("move past the last row")
        << 8 << QByteArray("\x00\x00\x00\x02\x00\x02", 6) << QStringList()
        << "damaged at byte 64: a move of 0 right and 2 up leaves the picture";
    // Long runs and moves carried the column past 2^31 and the writes before the pixels.
    QByteArray far;
    for (int i = 0; i < 4; ++i)
        far += QByteArray("\xFF\x00", 2);
    QTest::newRow("runs far past the row's end")
        << 8 << far + QByteArray("\x00\x02\xFF\x00\x01\x01", 6) << QStringList()
        << "damaged at byte 62: 255 pixels from column 0 pass the end of a row of 8";
}

void TestFormats::bmpRunLengths()
{
    QFETCH(int, bits);
    QFETCH(QByteArray, runs);
    QFETCH(QStringList, rows);
    QFETCH(QString, error);
    const DecodedImage decoded = decodeBmp(rleBmp(bits, 8, 3, runs), noCheck);
    if (rows.isEmpty()) {
        QVERIFY2(decoded.error.contains(error), qPrintable(decoded.error));
        return;
    }
    QVERIFY2(decoded.error.isEmpty(), qPrintable(decoded.error));
    QStringList drawn;
    for (int y = 0; y < 3; ++y) {
        drawn.append(QString());
        for (int x = 0; x < 8; ++x)
            drawn.last().append(decoded.image.ink(x, y) ? u'#' : u'.');
    }
    QCOMPARE(drawn, rows);
}

void TestFormats::lightOrDarkInk()
{
    // A sheet of light ink on dark paper reads as itself with light ink; read as dark ink, it is
    // mostly ink, and the reader says so.
    FontImage font = randomFont(17);
    for (std::uint8_t &row : font)
        row &= 0x3C; // at most half of each row ink, as in glyphs
    InkImage sheet = sheetOf(font, 2);
    for (std::uint8_t &pixel : sheet.pixels)
        pixel = !pixel;
    ReadOptions options;
    options.ink = InkRule::Light;
    const ImportResult light = readFont(encodePng(sheet), nullptr, options);
    QCOMPARE(fontFileBytes(light.font), fontFileBytes(font));
    QCOMPARE(light.warnings, QStringList());
    QCOMPARE(light.remedy, ImportResult::Remedy::None);
    const ImportResult dark = readFont(encodePng(sheet), nullptr, {});
    QVERIFY2(dark.warnings.join(u' ').contains(QLatin1String(
                 "it may be drawn light on dark; if so, read its light pixels as ink.")),
             qPrintable(dark.warnings.join(u' ')));
    QCOMPARE(dark.remedy, ImportResult::Remedy::LightInk);
}

QTEST_APPLESS_MAIN(TestFormats)
#include "tst_formats.moc"
