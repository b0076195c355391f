#include "core/filename.h"

#include <sys/stat.h>
#include <unistd.h>

QStringList commandLineArguments(int argc, char **argv)
{
    QStringList arguments;
    arguments.reserve(argc);
    for (int i = 0; i < argc; ++i)
        arguments.append(fileNameFromBytes(argv[i]));
    return arguments;
}

bool sameFile(const QString &first, const QString &second)
{
    struct stat a
    {
    };
    struct stat b
    {
    };
    return ::stat(fileNameBytes(first).constData(), &a) == 0
           && ::stat(fileNameBytes(second).constData(), &b) == 0 && a.st_dev == b.st_dev
           && a.st_ino == b.st_ino;
}

bool nameExists(const QString &name)
{
    struct stat info
    {
    };
    return ::lstat(fileNameBytes(name).constData(), &info) == 0;
}

bool removeName(const QString &name)
{
    return ::unlink(fileNameBytes(name).constData()) == 0;
}
