#include "fontfile/filecommands.h"

#include "core/failure.h"
#include "core/fileio.h"
#include "core/version.h"
#include "fontfile/fontdialogs.h"
#include "formats/fontformats.h"
#include "formats/gzip.h"
#include "formats/importreport.h"
#include "platform/filedialogs.h"
#include "platform/messages.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
class FontCommands final
{
    Q_DECLARE_TR_FUNCTIONS(FontCommands)
};

void showFailure(QWidget *parent, const Services &services, FileTask task, const QString &path,
                 const QString &reason)
{
    services.messages->show(parent, Messages::Icon::Warning, QString::fromUtf8(Version::Title),
                            FailureText::message(task, path, reason));
}
} // namespace

std::optional<OpenedFont> openFont(QWidget *parent, const Services &services, const QString &folder)
{
    const QString path = services.fileDialogs->ask(parent, openFontRequest(folder));
    if (path.isEmpty())
        return std::nullopt;
    return openFontFile(parent, services, path);
}

std::optional<OpenedFont> openFontFile(QWidget *parent, const Services &services,
                                       const QString &path)
{
    const ReadResult read = readFileStart(path, FontFileSize);
    if (!read.error.isEmpty()) {
        showFailure(parent, services, FileTask::OpenFont, path, read.error);
        return std::nullopt;
    }
    return OpenedFont {fontImageFromBytes(read.bytes), editorTitleFor(path), path, false, {}};
}

std::optional<OpenedFont> openGivenFile(QWidget *parent, const Services &services,
                                        const QString &path)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("pf"), Qt::CaseInsensitive) == 0)
        return openFontFile(parent, services, path);
    // One byte more tells a file that is too big from one that just fits.
    const ReadResult read = readFileStart(path, MaxSourceSize + 1);
    QString error = read.error;
    if (error.isEmpty() && read.bytes.size() > MaxSourceSize)
        error = FontCommands::tr("The file is larger than any font (%1 bytes).")
                    .arg(numberText(MaxSourceSize));
    if (!error.isEmpty()) {
        showFailure(parent, services, FileTask::OpenFont, path, error);
        return std::nullopt;
    }
    const ImportResult result = readFont(read.bytes, nullptr, ReadOptions {});
    // Content no format claims, and that is neither compressed nor a picture, is what Open
    // takes any file for: a .pf font.
    if (!result.format && !isGzip(read.bytes) && unreadPictureKind(read.bytes).isEmpty())
        return OpenedFont {fontImageFromBytes(read.bytes), editorTitleFor(path), path, false, {}};
    if (!result.ok()) {
        showFailure(parent, services, FileTask::OpenFont, path, result.error);
        return std::nullopt;
    }
    return OpenedFont {result.font, editorTitleFor(QString()), path, true, importReport(result)};
}

std::optional<SavedFont> saveFont(QWidget *parent, const Services &services, const FontImage &font,
                                  const QString &currentFileName, const QString &folder)
{
    const QString path
        = services.fileDialogs->ask(parent, saveFontRequest(currentFileName, folder));
    if (path.isEmpty())
        return std::nullopt;
    const QString error = writeFileAtomically(path, fontFileBytes(font));
    if (!error.isEmpty()) {
        showFailure(parent, services, FileTask::SaveFont, path, error);
        return std::nullopt;
    }
    return SavedFont {editorTitleFor(path), path};
}
