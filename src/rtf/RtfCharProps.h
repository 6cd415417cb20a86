// The character properties an RTF group carries (\b, \fs, \cf ...), as plain ints so a group
// opening copies them cheaply and equal runs compare and hash by their bytes.
#pragma once

#include <QHashFunctions>

#include <cstring>

struct RtfCharProps
{
    enum Underline { NoUnderline, Single, Dotted, Dashed, DashDot, DashDotDot, Wave };
    enum Vertical { Baseline, Super, Sub };
    enum Caps { NoCaps, AllCaps, SmallCaps };

    int font = -1; // -1: the document's \deff font
    int halfPoints = 24;
    int bold = 0;
    int italic = 0;
    int underline = NoUnderline;
    int strike = 0;
    int caps = NoCaps;
    int vertical = Baseline;
    int foreground = -1; // colour table index, -1 automatic
    int background = -1;
    int hidden = 0;
    int link = -1; // index of the hyperlink of the field result this text is in

    bool operator==(const RtfCharProps &other) const
    {
        return std::memcmp(this, &other, sizeof(RtfCharProps)) == 0;
    }
};

inline size_t qHash(const RtfCharProps &props, size_t seed = 0)
{
    return qHashBits(&props, sizeof(props), seed);
}
