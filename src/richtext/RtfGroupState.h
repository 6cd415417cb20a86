// The state an RTF group carries: destination, character and paragraph properties, \uc count.
// A group opening pushes a copy and its closing pops it, so every member is cheap to copy.
#pragma once

#include <QList>
#include <QTextOption>

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

struct RtfParaProps
{
    enum Align { Left, Center, Right, Justify };
    enum PnStyle {
        PnNone,
        PnBullet,
        PnDecimal,
        PnUpperLetter,
        PnLowerLetter,
        PnUpperRoman,
        PnLowerRoman
    };

    int align = Left;
    int leftIndent = 0; // twips
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;
    int lineMultiple = 0;
    bool pageBreakBefore = false;
    bool inTable = false;
    int tableLevel = 0; // \itap
    int listOverride = 0; // \ls, 0 none
    int listLevel = 0; // \ilvl
    int pnStyle = PnNone; // legacy \pn numbering
    int pnLevel = 0;
    int pendingTabType = QTextOption::LeftTab;
    QList<QTextOption::Tab> tabs; // in twips

    bool operator==(const RtfParaProps &other) const = default;
};

struct RtfGroupState
{
    enum Destination {
        Body, // text goes into the document
        Ignore, // text is dropped, control words still count
        Container, // \object, \shp, \upr: only their result part (\result, \shprslt, \ud) is read
        FontTable,
        ColorTable,
        ListTable,
        List,
        ListLevel,
        ListOverrideTable,
        ListOverride,
        PnDefinition,
        Picture,
        FieldInstruction,
    };

    Destination destination = Body;
    Destination outerDestination = Body; // what a Container's result part goes back to
    int unicodeSkip = 1; // \ucN
    int field = -1; // index of the innermost field this group is in
    bool nestedTableProps = false; // inside {\*\nesttableprops}
    RtfCharProps chars;
    RtfParaProps para;
};
