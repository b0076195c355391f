// Built against the core library alone: if core needed Qt Gui or Widgets, this would not link.
// Round-trips a font through the .pf layout and writes an export, as a front end without a
// display does.
#include "core/asmexport.h"
#include "core/fileio.h"
#include "core/fontimage.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    FontImage font {};
    for (int i = 0; i < FontFileSize; ++i)
        font[i] = static_cast<std::uint8_t>(i * 37 + 11);

    QTemporaryDir dir;
    const QString pf = dir.filePath(QStringLiteral("round.pf"));
    const QString asmFile = dir.filePath(QStringLiteral("round.asm"));
    if (!writeFileAtomically(pf, fontFileBytes(font)).isEmpty())
        return 1;
    const ReadResult read = readFileStart(pf, FontFileSize);
    if (!read.error.isEmpty() || fontImageFromBytes(read.bytes) != font)
        return 2;
    const QByteArray source = asmSource(font, QStringLiteral("round.pf"));
    if (!writeFileAtomically(asmFile, source).isEmpty()
        || readFileStart(asmFile, 1 << 20).bytes != source)
        return 3;
    std::puts("core alone: font round-tripped and exported");
    return 0;
}
