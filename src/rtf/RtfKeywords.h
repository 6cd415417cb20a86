// The control words the reader knows, one row each: what kind of word it is (a toggle, a value, a
// flag, a symbol, a destination, or a command with work of its own) and what it sets. Most words
// are data here; the parser applies a row the same way for every word of its kind.
#pragma once

#include "rtf/RtfCharProps.h"
#include "rtf/RtfParaProps.h"
#include "rtf/RtfPicture.h"
#include "rtf/RtfTableDefs.h"

#include <QByteArrayView>

#include <climits>
#include <string_view>

struct RtfKeyword
{
    enum Kind : quint8 {
        Unknown, // ignored
        Skip, // a destination read past whole
        LeftOut, // read past too, but it holds text the user wrote (footnotes, headers ...)
        Destination, // arg: the destination it starts
        Toggle, // sets on (arg), or 0 with a parameter of 0
        Flag, // sets arg
        Value, // sets the parameter, clamped to low..high
        Symbol, // arg: the character it stands for
        Command, // arg: the command, whose work does not fit a row
    };
    // What a toggle, flag or value sets.
    enum Target : quint8 {
        None,
        Document, // the document's code page (arg), in any destination
        Chars, // the group's character properties (chars)
        Para, // the group's paragraph properties (para)
        Row, // the table row being defined (row)
        Cell, // the next cell of that row (cell)
        Picture, // the picture being read (picture)
        Font, // the font table entry being read (arg: FontField)
        Colour, // the colour table entry being read (arg: ColourField)
        List, // the list or override being read (arg: ListField)
        Level, // the list level being read (arg: LevelField)
        Pn, // the {\*\pn} numbering being read (arg: the style, or a PnCommand)
        Notes, // footnotes, endnotes and comments (arg: RtfNotes::Word)
        Shapes, // shapes and drawing objects (arg: RtfAsideWords::ShapeWord)
    };
    enum FontField { FontCharset, FontCodePage };
    enum ListField { ListId, OverrideLevel, OverrideStart };
    enum LevelField { LevelNumberFormat, LevelStart, LevelLegal, LevelNoRestart };
    enum ColourField { Red, Green, Blue };
    enum DestinationId {
        FontTable,
        ColorTable,
        ListTable,
        ListDef,
        ListLevel,
        ListOverrideTable,
        ListOverride,
        Pict,
        ShpPict,
        Field,
        FieldInstruction,
        FieldResult,
        Container, // \object: only its result part is read
        ContainerResult, // \result, \ud
        Upr,
        PnDefinition,
        PnBulletText,
        LevelText,
        NestedTableProps,
        ListText, // {\listtext}: the label Word computed for a list item
        PnAfterText, // {\pntxta}: the text after a {\*\pn} number
    };
    enum CommandId {
        AnsiCodePage,
        DefaultFont,
        UnicodeSkip,
        Unicode,
        Plain,
        FontNumber,
        FontSize,
        Foreground,
        Background,
        Up,
        Down,
        Pard,
        Par,
        Sect,
        Page,
        TabStop,
        InTable,
        TableLevel,
        RowDefaults,
        CellEdge,
        CellBackground,
        EndCell,
        EndNestedCell,
        EndRow,
        EndNestedRow,
    };
    enum PnCommand { PnLevel = 100, PnLevelBullet, PnLevelBody, PnLevelContinued, PnStart };

    std::string_view name;
    Kind kind = Unknown;
    Target target = None;
    bool afterStar = true; // a destination read after {\*
    int arg = 0;
    int low = INT_MIN;
    int high = INT_MAX;
    int RtfCharProps::*chars = nullptr;
    int RtfParaProps::*para = nullptr;
    int RtfRowDef::*row = nullptr;
    int RtfCellDef::*cell = nullptr;
    int RtfPicture::*picture = nullptr;

    // The value a toggle, flag or value row sets for the parameter p (has: p was given).
    int valueFor(int p, bool has) const
    {
        switch (kind) {
        case Toggle:
            return (!has || p != 0) ? arg : 0;
        case Flag:
            return arg;
        default:
            return p < low ? low : (p > high ? high : p);
        }
    }
};

namespace RtfKeywords {
// The row of the control word name; a row of kind Unknown for a word not in the table.
const RtfKeyword &find(QByteArrayView name);
} // namespace RtfKeywords
