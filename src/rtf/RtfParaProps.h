// The paragraph properties an RTF group carries (\ql, \li, \sl, \intbl, list membership, tabs).
#pragma once

#include <QList>
#include <QTextOption>

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
        PnLowerRoman,
        PnCircle, // bullets whose {\pntxtb} is a circle or a square
        PnSquare
    };

    int align = Left;
    int leftIndent = 0; // twips
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;
    int lineMultiple = 0;
    int pageBreakBefore = 0;
    int inTable = 0;
    int tableLevel = 0; // \itap
    int rightToLeft = 0; // \rtlpar
    int listOverride = 0; // \ls, 0 none
    int listLevel = 0; // \ilvl
    enum PnKind {
        PnBody, // simple numbering (\pnlvlbody): a run of consecutive paragraphs
        PnBulleted, // \pnlvlblt: bullets, also a run of consecutive paragraphs
        PnOutline, // \pnlvlN: numbered through the section, deeper levels restarting
        PnContinued // \pnlvlcont: goes on with the list, without a number of its own
    };

    int pnStyle = PnNone; // legacy \pn numbering
    int pnLevel = 0;
    int pnKind = PnBody;
    int pnStart = 1; // \pnstart
    int pendingTabType = QTextOption::LeftTab;
    QList<QTextOption::Tab> tabs; // in twips

    bool operator==(const RtfParaProps &other) const = default;
};
