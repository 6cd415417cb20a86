// Splits RTF bytes into tokens: group braces, control words and symbols, hex bytes, text runs and
// \bin payloads. Bounded look-ahead everywhere, so any byte string is safe to feed it.
#pragma once

#include "rtf/RtfToken.h"

#include <QByteArrayView>

class RtfTokenizer
{
public:
    static constexpr int MaxWordLength = 32;

    explicit RtfTokenizer(QByteArrayView input);

    RtfToken next();

    // Skips the rest of the group whose opening brace was just read, through its closing brace,
    // without tokenizing what is inside except to step over \bin payloads. True when the control
    // word named word is among what was skipped (never for an empty word).
    bool skipGroup(QByteArrayView word = {});

    // The bytes from here up to the next backslash or brace, line breaks included: the rest of
    // a picture's hex digits, taken in one piece rather than line by line.
    QByteArrayView readRawText();

    bool atEnd() const { return m_pos >= m_end; }
    // What it reads; position() is an index into it.
    QByteArrayView input() const { return QByteArrayView(m_begin, m_end); }
    qsizetype position() const { return m_pos - m_begin; }

private:
    void readWord(RtfToken &token);

    const char *m_begin;
    const char *m_pos;
    const char *m_end;
};
