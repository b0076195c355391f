#pragma once

#include <QByteArrayView>
#include <QString>

// Walks a text file line by line, counting lines from 1 for messages about them. A line ends at
// '\n' and loses the '\r' before it, so files written on Windows read the same. A text whose
// lines end in CR alone (as on classic Mac OS) stops the reading with an error(): read as one
// line it would give messages that hide what is wrong.
class LineReader final
{
public:
    // A UTF-8 byte order mark before the first line is skipped.
    explicit LineReader(QByteArrayView text);

    // Moves to the next line; false at the end of the text or when its lines end in CR alone.
    bool next();
    // Moves to the next line that is neither blank nor a comment (';' first after any spaces and
    // tabs, the assembler's comment mark, which the font's text form shares); false at the end.
    bool nextContent();

    QByteArrayView line() const { return m_line; }
    // The current line's number; at the end, the number of lines in the text.
    int number() const { return m_number; }
    // Why the reading stopped before the end (at line number()), or empty.
    QString error() const { return m_error; }

private:
    QByteArrayView m_rest;
    QByteArrayView m_line;
    int m_number = 0;
    QString m_error;
};
