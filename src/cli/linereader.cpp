#include "cli/linereader.h"

namespace {
constexpr char CommentMark = ';';

bool isBlankOrComment(QByteArrayView line)
{
    const QByteArrayView content = line.trimmed();
    return content.isEmpty() || content.front() == CommentMark;
}
} // namespace

bool LineReader::next()
{
    if (m_rest.isEmpty())
        return false;
    const qsizetype end = m_rest.indexOf('\n');
    m_line = end < 0 ? m_rest : m_rest.first(end);
    m_rest = end < 0 ? QByteArrayView() : m_rest.sliced(end + 1);
    ++m_number;
    if (m_line.endsWith('\r'))
        m_line.chop(1);
    return true;
}

bool LineReader::nextContent()
{
    while (next()) {
        if (!isBlankOrComment(m_line))
            return true;
    }
    return false;
}
