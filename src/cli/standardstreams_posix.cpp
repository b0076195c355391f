#include "cli/standardstreams.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
bool closedInput = false;
bool closedOutput = false;

// True when fd was closed and now is the null device.
bool reopenIfClosed(int fd, int flags)
{
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
        return false;
    // open() takes the lowest free number, which is fd: the ones below it are open by now.
    const int opened = ::open("/dev/null", flags);
    if (opened != fd && opened >= 0)
        ::close(opened);
    return true;
}
} // namespace

void prepareStandardStreams()
{
    closedInput = reopenIfClosed(STDIN_FILENO, O_RDONLY);
    closedOutput = reopenIfClosed(STDOUT_FILENO, O_WRONLY);
    reopenIfClosed(STDERR_FILENO, O_WRONLY);
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
    const QByteArray bytes = text.toUtf8();
    const size_t written
        = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    return std::fflush(stream) == 0 && written == static_cast<size_t>(bytes.size());
}
