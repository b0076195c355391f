#pragma once

#include "formats/fontformats.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The files a format makes of a font for the path it is to be written to: that file, or both
// files of a pair (a C header and its source) whichever of them the path names.
struct FontOutput
{
    QStringList paths;
    QList<QByteArray> contents; // one for each path
    QString error; // why nothing can be made for that path; empty when the files were made

    bool ok() const { return error.isEmpty(); }
};

// The second file of a pair names the first in a quoted #include, which cannot hold these.
bool nameableInInclude(const QString &fileName);

FontOutput fontOutput(const FontImage &font, const FontFormat &format, WriteOptions options,
                      const QString &path);
