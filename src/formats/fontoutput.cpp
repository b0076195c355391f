#include "formats/fontoutput.h"

#include "core/modtools.h"

#include <algorithm>

bool nameableInInclude(const QString &fileName)
{
    return std::none_of(fileName.begin(), fileName.end(), [](QChar c) {
        return c == u'"' || c == u'\\' || c.category() == QChar::Other_Control;
    });
}

FontOutput fontOutput(const FontImage &font, const FontFormat &format, WriteOptions options,
                      const QString &path)
{
    FontOutput output;
    output.paths = QStringList {path};
    if (format.writeSecond) {
        output.paths = pairedFileNames(format, path);
        if (output.paths.isEmpty()) {
            output.error = QStringLiteral("the %1 output is two files, FILE.%2 and FILE.%3; name "
                                          "either.")
                               .arg(QLatin1String(format.name),
                                    QString::fromLatin1(format.suffixes).section(u' ', 0, 0),
                                    QLatin1String(format.secondSuffix));
            return output;
        }
        options.firstFileName = FileNameOf(output.paths.first());
        if (!nameableInInclude(options.firstFileName)) {
            output.error = QStringLiteral("the file name cannot be named in an #include; choose "
                                          "one without quotes, backslashes or control "
                                          "characters.");
            return output;
        }
    }
    output.contents.append(format.write(font, options));
    if (format.writeSecond)
        output.contents.append(format.writeSecond(font, options));
    if (std::any_of(output.contents.cbegin(), output.contents.cend(),
                    [](const QByteArray &bytes) { return bytes.isEmpty(); }))
        output.error = QStringLiteral("the output could not be made.");
    return output;
}
