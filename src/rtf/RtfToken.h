// One token of RTF: a brace, a control word or symbol, a hex byte, a text run or a \bin payload.
// Its data points into the input, which must outlive it.
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
    bool printable = false; // a Text run of printable 7-bit bytes and tabs only
};
