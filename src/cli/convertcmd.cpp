#include "cli/cli.h"
#include "cli/fontinput.h"
#include "cli/formatoptions.h"
#include "cli/formats/bdf.h"
#include "cli/formats/csource.h"
#include "cli/formats/inkimage.h"
#include "cli/formats/pngimage.h"
#include "cli/formats/psf.h"
#include "core/modtools.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace {
constexpr CommandUsage Usage {
    "convert",
    "Usage: glyphwright-cli convert FONT.pf -o OUT [--to png|psf|bdf|c] [--name NAME]\n"
    "                                [--scale N]\n"
    "\n"
    "Writes the font in another format, told by OUT's extension (.png, .psf, .bdf, .c or .h)\n"
    "unless --to names it. The same font always gives the same bytes. FONT.pf '-' reads the\n"
    "font from standard input.\n"
    "\n"
    "  png  the 16 x 16 sheet, code 0 at the top left, black ink on white, --scale pixels\n"
    "       (1 to 32) per glyph pixel; import reads it back to the same font\n"
    "  psf  PSF 1, 256 glyphs of 8x8, which the Linux console's setfont loads\n"
    "  bdf  BDF 2.1, ISO 8859-1 codes 0 to 255, family --name or the font's file name\n"
    "  c    a C header with const unsigned char NAME[256][8]; NAME from --name or the\n"
    "       font's file name (\"font\" for standard input), made a valid C identifier\n"
    "\n"
    "  -o FILE   the file to write, '-' for standard output (then --to is needed)\n"
    "  -h, --help\n"
    "\n"
    "Exit status: 0 written, 1 the font could not be read or the output not written, 2 usage.\n",
    1, 1, "OUT"};

enum class Target { None, Png, Psf, Bdf, C };

// A format by its --to name, or by an output's extension, where .h also means C.
Target targetNamed(const QString &name, bool extension)
{
    const QString lower = name.toLower();
    if (lower == QLatin1String("png"))
        return Target::Png;
    if (lower == QLatin1String("psf"))
        return Target::Psf;
    if (lower == QLatin1String("bdf"))
        return Target::Bdf;
    if (lower == QLatin1String("c") || (extension && lower == QLatin1String("h")))
        return Target::C;
    return Target::None;
}

// The name a font goes by when --name gives none: its file name without the extension; none
// for standard input, where the formats fall back on a name of their own.
QString baseName(const QString &path)
{
    return path == QLatin1String("-") ? QString() : QFileInfo(FileNameOf(path)).completeBaseName();
}
} // namespace

int runConvert(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption output(QStringLiteral("o"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption to(QStringLiteral("to"), QString(), QStringLiteral("FORMAT"));
    const QCommandLineOption nameOption(QStringLiteral("name"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption scaleOptionDef(QStringLiteral("scale"), QString(),
                                            QStringLiteral("N"));
    parser.addOptions({output, to, nameOption, scaleOptionDef});
    if (const std::optional<int> status = parseCommandLine(parser, arguments, Usage))
        return *status;

    const QString outPath = parser.value(output);
    Target target = Target::None;
    if (parser.isSet(to)) {
        target = targetNamed(parser.value(to), false);
        if (target == Target::None) {
            printError(QStringLiteral("convert: --to '%1': expects png, psf, bdf or c.")
                           .arg(parser.value(to)));
            return ExitUsage;
        }
    } else if (outPath == QLatin1String("-")) {
        printError(QStringLiteral("convert: standard output has no extension to tell the "
                                  "format by; name it with --to."));
        return ExitUsage;
    } else {
        target = targetNamed(QFileInfo(FileNameOf(outPath)).suffix(), true);
        if (target == Target::None) {
            printError(QStringLiteral("convert: cannot tell the format from '%1'; use an "
                                      "extension .png, .psf, .bdf, .c or .h, or --to.")
                           .arg(outputName(outPath)));
            return ExitUsage;
        }
    }
    if (parser.isSet(scaleOptionDef) && target != Target::Png) {
        printError(QStringLiteral("convert: --scale applies to png only."));
        return ExitUsage;
    }
    if (parser.isSet(nameOption) && target != Target::Bdf && target != Target::C) {
        printError(QStringLiteral("convert: --name applies to bdf and c only."));
        return ExitUsage;
    }
    const std::optional<int> scale = scaleOption(QStringLiteral("convert"), parser, scaleOptionDef);
    if (!scale)
        return ExitUsage;

    const QString fontPath = parser.positionalArguments().constFirst();
    if (outputReplacesInput(outPath, fontPath))
        return ExitFailure;
    const std::optional<FontInput> input = readFontInput(fontPath);
    if (!input)
        return ExitFailure;
    const FontImage &font = input->font;
    const QString name = parser.isSet(nameOption) ? parser.value(nameOption) : baseName(fontPath);
    QByteArray bytes;
    switch (target) {
    case Target::Png:
        bytes = encodePng(sheetOf(font, *scale));
        break;
    case Target::Psf:
        bytes = psf1Bytes(font);
        break;
    case Target::Bdf:
        bytes = bdfBytes(font, name);
        break;
    case Target::C:
        bytes = cHeader(font, cIdentifier(name));
        break;
    case Target::None:
        break;
    }
    if (bytes.isEmpty()) {
        printError(QStringLiteral("%1: the output could not be made.").arg(outputName(outPath)));
        return ExitFailure;
    }
    return writeOutput(outPath, bytes) ? ExitOk : ExitFailure;
}
