// transform: moves, mirrors, turns, inverts or emboldens every glyph of a font at once.
#include "cli/cli.h"
#include "cli/commandline.h"
#include "cli/fontinput.h"
#include "cli/formatoptions.h"
#include "cli/options.h"
#include "core/coderange.h"
#include "core/filename.h"
#include "core/glyphtransform.h"

#include <QList>

namespace {
// The operations are transform's own options: the same names may mean something else elsewhere.
// Codes: the direction a mirror turns over (left to right or top to bottom), and the clockwise
// quarter turns of a rotation.
constexpr OptionValue FlipValues[]
    = {{"horizontal", int(Direction::Left)}, {"vertical", int(Direction::Up)}};
constexpr OptionValue RotateValues[] = {{"90", 1}, {"180", 2}, {"270", 3}};

constexpr OptionValue DirectionValues[] = {{"up", int(Direction::Up)},
                                           {"down", int(Direction::Down)},
                                           {"left", int(Direction::Left)},
                                           {"right", int(Direction::Right)}};

// Pixels: a move of a whole cell would leave nothing.
constexpr Option ShiftOperation = choiceOption<DirectionValues>(
    "shift", "DIRECTION[:N]", 1, GlyphSize - 1,
    "move the glyphs N pixels (default 1, up to 7) up, down, left or right; pixels that leave "
    "the cell are lost, new ones are paper");
constexpr Option RollOperation = choiceOption<DirectionValues>(
    "roll", "DIRECTION[:N]", 1, GlyphSize - 1,
    "the same, but what leaves the cell at one edge comes back at the other");
constexpr Option FlipOperation = choiceOption<FlipValues>(
    "flip", "mirror left to right (horizontal) or top to bottom (vertical)");
constexpr Option RotateOperation
    = choiceOption<RotateValues>("rotate", "turn clockwise by so many degrees");
constexpr Option InvertOperation = switchOption("invert", "swap ink and paper");
constexpr Option BoldOperation = switchOption(
    "bold", "OR each row with itself one pixel to the right, the classic bold of an 8x8 font");
constexpr Option InPlace
    = switchOption("in-place", "write the result over FONT.pf, atomically: the old font stays "
                               "whole until the new one is complete; -o may then be left out");

constexpr OptionUse TransformOptions[] = {
    {&Options::Output, "the font to write, '-' for standard output; it may be FONT.pf itself "
                       "only with --in-place"},
    {&InPlace, nullptr},
    {&Options::Codes, "transform only the characters FIRST to LAST (decimal or 0x hex, "
                      "inclusive; default 0-255); the others are written unchanged"},
    {&ShiftOperation, nullptr},
    {&RollOperation, nullptr},
    {&FlipOperation, nullptr},
    {&RotateOperation, nullptr},
    {&InvertOperation, nullptr},
    {&BoldOperation, nullptr},
};

constexpr Argument TransformArguments[] = {{"FONT.pf"}};

constexpr CommandSyntax Transform {
    "transform", "FONT.pf -o OUT.pf [--in-place] [--codes FIRST-LAST] OPERATION...",
    "Changes every glyph of the font, or of the --codes range, at once: each OPERATION in the "
    "order given, each to every glyph. Says on standard error how many glyphs changed. FONT.pf "
    "'-' reads the font from standard input. Moving a font down a pixel and making it bold:\n\n"
    "  glyphwright-cli transform font.pf -o bold.pf --shift down --bold",
    TransformOptions, TransformArguments};

// The operation an option given names, or nothing for an option that is none.
std::optional<GlyphOperation> operationOf(const GivenOption &given)
{
    using Kind = GlyphOperation::Kind;
    const Option *option = given.option;
    const auto direction = Direction(given.number);
    if (option == &ShiftOperation)
        return GlyphOperation {Kind::Shift, direction, int(given.count)};
    if (option == &RollOperation)
        return GlyphOperation {Kind::Roll, direction, int(given.count)};
    if (option == &FlipOperation)
        return GlyphOperation {Kind::Flip, direction};
    if (option == &RotateOperation)
        return GlyphOperation {Kind::Rotate, Direction::Up, int(given.number)};
    if (option == &InvertOperation)
        return GlyphOperation {Kind::Invert};
    if (option == &BoldOperation)
        return GlyphOperation {Kind::Bold};
    return std::nullopt;
}
} // namespace

int runTransform(const QStringList &arguments)
{
    CommandLine line(Transform);
    if (const std::optional<int> status = line.parse(arguments))
        return *status;

    QList<GlyphOperation> operations;
    for (const GivenOption &given : line.given()) {
        if (const std::optional<GlyphOperation> operation = operationOf(given))
            operations.append(*operation);
    }
    if (operations.isEmpty())
        return line.usageError(QStringLiteral("no operation given: --shift, --roll, --flip, "
                                              "--rotate, --invert or --bold"));
    const std::optional<CodeRange> codes = codesGiven(line);
    if (!codes)
        return ExitUsage;

    const QString fontPath = line.argument(0);
    const bool inPlace = line.isSet(InPlace);
    QString output = outputGiven(line);
    if (inPlace) {
        if (fontPath == QLatin1String("-"))
            return line.usageError(QStringLiteral("--in-place needs a font file, not standard "
                                                  "input"));
        if (line.isSet(Options::Output) && !sameFile(output, fontPath))
            return line.usageError(QStringLiteral("--in-place writes FONT.pf itself, but -o names "
                                                  "another file"));
        output = fontPath;
    } else if (!line.isSet(Options::Output)) {
        return line.usageError(QStringLiteral("-o OUT.pf is required (or -o - for standard "
                                              "output, or --in-place to replace FONT.pf)"));
    } else if (output != QLatin1String("-") && fontPath != QLatin1String("-")
               && sameFile(output, fontPath)) {
        printError(QStringLiteral("%1: the output is the input file; not replacing it without "
                                  "--in-place.")
                       .arg(outputName(output)));
        return ExitFailure;
    }

    int changed = 0;
    const int status = readThenWrite(
        fontPath, output, inPlace ? readFontToReplace : readFontInput,
        [&](const FontInput &input) -> std::optional<QByteArray> {
            FontImage font = input.font;
            changed = transformFont(font, *codes, operations);
            return fontFileBytes(font);
        },
        inPlace ? Overwrite::Allowed : Overwrite::Refused);
    if (status == ExitOk) {
        const QString glyphs
            = codes->count() == 1 ? QStringLiteral("glyph") : QStringLiteral("glyphs");
        printNote(QStringLiteral("%1: changed %2 of %3 %4%5.")
                      .arg(outputName(output), QString::number(changed),
                           QString::number(codes->count()), glyphs,
                           codes->isWhole() ? QString()
                                            : QStringLiteral(" (%1)").arg(codeRangeText(*codes))));
    }
    return status;
}
