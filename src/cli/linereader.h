#pragma once

#include <QByteArrayView>

// Walks a text file line by line, counting lines from 1 for messages about them. A line ends at
// '\n' and loses the '\r' before it, so files written on Windows read the same.
class LineReader final
{
public:
    explicit LineReader(QByteArrayView text)
        : m_rest(text)
    { }

    // Moves to the next line; false at the end of the text.
    bool next();
    // Moves to the next line that is neither blank nor a comment (';' first after any spaces,
    // the assembler's comment mark, which the font's text form shares); false at the end.
    bool nextContent();

    QByteArrayView line() const { return m_line; }
    // The current line's number; at the end, the number of lines in the text.
    int number() const { return m_number; }

private:
    QByteArrayView m_rest;
    QByteArrayView m_line;
    int m_number = 0;
};
