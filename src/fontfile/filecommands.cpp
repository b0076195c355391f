#include "fontfile/filecommands.h"

#include "core/failure.h"
#include "core/fileio.h"
#include "core/version.h"
#include "fontfile/filehost.h"
#include "fontfile/fontdialogs.h"
#include "platform/filedialogs.h"
#include "platform/messages.h"

FileCommands::FileCommands(FileHost &host, const Services &services)
    : m_host(host)
    , m_services(services)
{ }

void FileCommands::newFont()
{
    resetFont();
    m_host.selectFirstCharacter();
}

void FileCommands::open()
{
    const QString path = m_services.fileDialogs->ask(m_host.dialogParent(), openFontRequest());
    if (path.isEmpty() || !loadFontFile(path))
        return;
    updateTitle(path);
    m_host.selectFirstCharacter();
}

void FileCommands::save()
{
    const QString path = m_services.fileDialogs->ask(m_host.dialogParent(),
                                                     saveFontRequest(m_host.currentFileName()));
    if (path.isEmpty() || !saveFontFile(path))
        return;
    updateTitle(path);
}

void FileCommands::resetFont()
{
    m_host.blankFont();
    updateTitle(QString());
}

void FileCommands::updateTitle(const QString &path)
{
    m_host.setTitle(editorTitleFor(path));
}

bool FileCommands::loadFontFile(const QString &path)
{
    const ReadResult read = readFileStart(path, FontFileSize);
    if (!read.error.isEmpty()) {
        m_services.messages->show(m_host.dialogParent(), Messages::Icon::Warning,
                                  QString::fromUtf8(Version::Title),
                                  FailureText::message(FileTask::OpenFont, path, read.error));
        return false;
    }
    resetFont();
    m_host.setFontImage(fontImageFromBytes(read.bytes));
    return true;
}

bool FileCommands::saveFontFile(const QString &path)
{
    const QString error = writeFileAtomically(path, fontFileBytes(m_host.fontImage()));
    if (!error.isEmpty()) {
        m_services.messages->show(m_host.dialogParent(), Messages::Icon::Warning,
                                  QString::fromUtf8(Version::Title),
                                  FailureText::message(FileTask::SaveFont, path, error));
        return false;
    }
    return true;
}
