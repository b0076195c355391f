#include "cli/standardstreams.h"

#include <string>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

void useBinaryStandardStreams()
{
    // In the C library's text mode every LF written would become CR LF (an export's CR LF
    // becoming CR CR LF) and a Ctrl-Z read would end the input.
    for (std::FILE *stream : {stdin, stdout, stderr})
        _setmode(_fileno(stream), _O_BINARY);
}

void writeText(std::FILE *stream, const QString &text)
{
    std::fflush(stream);
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        const std::wstring characters = text.toStdWString();
        DWORD written = 0;
        WriteConsoleW(handle, characters.data(), static_cast<DWORD>(characters.size()), &written,
                      nullptr);
        return;
    }
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}
