// The state an RTF group carries: destination, character and paragraph properties, \uc count.
// A group opening pushes a copy and its closing pops it, so every member is cheap to copy.
#pragma once

#include "rtf/RtfCharProps.h"
#include "rtf/RtfParaProps.h"

#include <cstdint>

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
        PnBulletText, // {\pntxtb} in a {\*\pn}: the bullet character, or the text before a number
        PnAfterText, // {\pntxta} in a {\*\pn}: the text after a number
        LevelText, // {\leveltext} of a Word list level
        Picture,
        FieldInstruction,
        ListText, // {\listtext}: the label Word computed for the item
    };

    Destination destination = Body;
    Destination outerDestination = Body; // what a Container's result part goes back to
    int unicodeSkip = 1; // \ucN
    int field = -1; // index of the innermost field this group is in
    bool nestedTableProps = false; // inside {\*\nesttableprops}
    bool textBox = false; // inside the text of a shape's box
    // The table cell a box is anchored in: its paragraphs stay there after a \pard. Small, so
    // the state a group copies does not grow.
    std::int8_t boxInTable = 0;
    std::int8_t boxTableLevel = 0;
    RtfCharProps chars;
    RtfParaProps para;
};
