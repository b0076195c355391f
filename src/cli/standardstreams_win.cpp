#include "cli/standardstreams.h"

#include <string>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {
bool closedInput = false;
bool closedOutput = false;
} // namespace

void prepareStandardStreams()
{
    // A program started without a standard stream has none to hand on (-2).
    closedInput = _fileno(stdin) < 0;
    closedOutput = _fileno(stdout) < 0;
    // In the C library's text mode every LF written would become CR LF (an export's CR LF
    // becoming CR CR LF) and a Ctrl-Z read would end the input.
    for (std::FILE *stream : {stdin, stdout, stderr}) {
        if (_fileno(stream) >= 0)
            _setmode(_fileno(stream), _O_BINARY);
    }
}

bool standardInputWasClosed()
{
    return closedInput;
}

bool standardOutputWasClosed()
{
    return closedOutput;
}

bool writeText(std::FILE *stream, const QString &text)
{
    std::fflush(stream);
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        const std::wstring characters = text.toStdWString();
        DWORD written = 0;
        return WriteConsoleW(handle, characters.data(), static_cast<DWORD>(characters.size()),
                             &written, nullptr)
               && written == characters.size();
    }
    const QByteArray bytes = text.toUtf8();
    const size_t written
        = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    return std::fflush(stream) == 0 && written == static_cast<size_t>(bytes.size());
}
