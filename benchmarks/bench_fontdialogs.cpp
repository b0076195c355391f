// Times the Font menu's dialogs offscreen: reading a 512-glyph console font with its Unicode
// table, and opening each dialog or changing an option, against one frame (16.7 ms at 60 Hz).
#include "fontdialogs/exportasdialog.h"
#include "fontdialogs/importdialog.h"
#include "fontdialogs/textpreviewwindow.h"
#include "fontdialogs/transformdialog.h"
#include "support/fakes.h"
#include "support/formatfixtures.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
constexpr int Rounds = 41;

double medianMilliseconds(const std::function<void()> &work)
{
    work(); // the first run pays for fonts, styles and iconv's tables
    std::vector<double> times;
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A PSF 2 of 512 glyphs with a Unicode table giving every glyph a character, as the console
// fonts of distributions have.
QByteArray consoleFont()
{
    QList<QList<char32_t>> entries(512);
    for (int i = 0; i < 512; ++i)
        entries[i] = {char32_t(i < 256 ? i : 0x400 + i)};
    QByteArray bytes = psf2(512, 8, 8, indexGlyphs(512)) + psfTable(2, entries);
    putLe32(bytes, 12, 1);
    return bytes;
}

// The offscreen platform says on every dialog shown that it keeps no size hints.
void quietOffscreen(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (!message.contains(QLatin1String("propagateSizeHints")))
        std::fprintf(stderr, "%d: %s\n", int(type), qPrintable(message));
}

void report(const char *what, double milliseconds)
{
    std::printf("  %-52s %7.2f ms\n", what, milliseconds);
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietOffscreen);
    QApplication app(argc, argv);
    const QByteArray psf = consoleFont();
    const FontImage font = randomFont(1);
    FakeServices fakes;

    std::printf("the Font menu's dialogs, offscreen (median of %d; one frame is 16.7 ms):\n",
                Rounds);
    int keyed = 0;
    report("read a 512-glyph PSF 2 with its Unicode table",
           medianMilliseconds([&] { keyed = readFont(psf, nullptr, ReadOptions {}).keyed; }));
    if (keyed != CharacterCount)
        std::fprintf(stderr, "the console font was not read through its table\n");
    report("Import: open on that font and show", medianMilliseconds([&] {
               ImportDialog dialog(QStringLiteral("font.psf"), psf, nullptr);
               dialog.show();
               QApplication::processEvents();
           }));
    ImportDialog import(QStringLiteral("font.psf"), psf, nullptr);
    import.show();
    auto *charset = import.findChild<QComboBox *>(QStringLiteral("cmbCharset"));
    int turn = 0;
    report("Import: another character set, read again and drawn", medianMilliseconds([&] {
               charset->setCurrentText(++turn % 2 ? QStringLiteral("cp437")
                                                  : QStringLiteral("latin1"));
               QApplication::processEvents();
           }));
    report("Export As: open and show", medianMilliseconds([&] {
               ExportAsDialog dialog(font, QStringLiteral("font.pf"), QString(), ExportChoices {},
                                     fakes.services(), nullptr);
               dialog.show();
               QApplication::processEvents();
           }));
    report("Transform: open and show", medianMilliseconds([&] {
               TransformDialog dialog(font, 65, nullptr);
               dialog.show();
               QApplication::processEvents();
           }));
    TransformDialog transform(font, 65, nullptr);
    transform.show();
    auto *operation = transform.findChild<QComboBox *>(QStringLiteral("cmbOperation"));
    report("Transform: another operation, previewed", medianMilliseconds([&] {
               operation->setCurrentIndex(++turn % operation->count());
               QApplication::processEvents();
           }));
    TextPreviewWindow preview(fakes.services(), nullptr);
    preview.findChild<QLineEdit *>(QStringLiteral("txtText"))
        ->setText(QStringLiteral("The quick brown fox jumps over the lazy dog 0123456789"));
    preview.show();
    report("Text preview: the font changed, line redrawn at 2x", medianMilliseconds([&] {
               preview.setGlyphs(randomFont(quint32(++turn)));
               QApplication::processEvents();
           }));
    return 0;
}
