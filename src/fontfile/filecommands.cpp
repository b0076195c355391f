#include "fontfile/filecommands.h"

#include "core/failure.h"
#include "core/fileio.h"
#include "core/version.h"
#include "fontfile/fontdialogs.h"
#include "platform/filedialogs.h"
#include "platform/messages.h"

namespace {
void showFailure(QWidget *parent, const Services &services, FileTask task, const QString &path,
                 const QString &reason)
{
    services.messages->show(parent, Messages::Icon::Warning, QString::fromUtf8(Version::Title),
                            FailureText::message(task, path, reason));
}
} // namespace

std::optional<OpenedFont> openFont(QWidget *parent, const Services &services)
{
    const QString path = services.fileDialogs->ask(parent, openFontRequest());
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
    return OpenedFont {fontImageFromBytes(read.bytes), editorTitleFor(path)};
}

std::optional<EditorTitle> saveFont(QWidget *parent, const Services &services,
                                    const FontImage &font, const QString &currentFileName)
{
    const QString path = services.fileDialogs->ask(parent, saveFontRequest(currentFileName));
    if (path.isEmpty())
        return std::nullopt;
    const QString error = writeFileAtomically(path, fontFileBytes(font));
    if (!error.isEmpty()) {
        showFailure(parent, services, FileTask::SaveFont, path, error);
        return std::nullopt;
    }
    return editorTitleFor(path);
}
