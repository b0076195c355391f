#include "formats/linereader.h"

namespace {
constexpr char CommentMark = ';';

// Only spaces and tabs separate: the assembler stops on a line that holds a form feed or a
// vertical tab, so such a line is no blank one here either.
bool isBlankOrComment(QByteArrayView line)
{
    qsizetype at = 0;
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
        ++at;
    return at == line.size() || line[at] == CommentMark;
}
} // namespace

LineReader::LineReader(QByteArrayView text)
    : m_rest(text)
{
    // The byte order mark that Windows editors put before UTF-8 text; the assembler skips it.
    if (m_rest.startsWith("\xEF\xBB\xBF"))
        m_rest = m_rest.sliced(3);
}

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
    // A whole text without a line feed but with carriage returns: its lines end in CR alone.
    if (m_number == 1 && end < 0 && m_line.contains('\r')) {
        m_error = QStringLiteral("the lines end in CR alone, with no line feed (LF); lines must "
                                 "end in LF or CR LF");
        m_rest = QByteArrayView();
        return false;
    }
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
