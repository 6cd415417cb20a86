// Splits RTF bytes into tokens: group braces, control words and symbols, hex bytes, text runs and
// \bin payloads. Bounded look-ahead everywhere, so any byte string is safe to feed it.
#pragma once

#include <QByteArrayView>

struct RtfToken
{
    enum Type { End, GroupOpen, GroupClose, ControlWord, ControlSymbol, HexByte, Text, Binary };

    Type type = End;
    QByteArrayView data; // the word's name, the text run or the binary payload
    int parameter = 0;
    bool hasParameter = false;
    char symbol = 0; // for ControlSymbol
    uchar byte = 0; // for HexByte
    bool ascii = false; // a Text run of 7-bit bytes only
};

class RtfTokenizer
{
public:
    static constexpr int MaxWordLength = 32;

    explicit RtfTokenizer(QByteArrayView input);

    RtfToken next();

    // Skips the rest of the group whose opening brace was just read, through its closing brace,
    // without tokenizing what is inside except to step over \bin payloads.
    void skipGroup();

    bool atEnd() const { return m_pos >= m_end; }
    qsizetype position() const { return m_pos - m_begin; }

private:
    void readWord(RtfToken &token);

    const char *m_begin;
    const char *m_pos;
    const char *m_end;
};
