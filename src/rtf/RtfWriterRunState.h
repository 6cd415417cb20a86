// The character formatting in force at a point of the RTF being written, reduced to what RTF can
// say; the writer moves from one state to the next with only the control words that differ.
#pragma once

#include <cstdint>

class QTextCharFormat;
class RtfWriterColors;
class RtfWriterFonts;
class RtfOutput;

struct RtfWriterRunState
{
    enum Underline : std::uint8_t {
        NoUnderline,
        Single,
        Dotted,
        Dashed,
        DashDot,
        DashDotDot,
        Wave
    };
    enum Vertical : std::uint8_t { Baseline, Super, Sub };
    enum Caps : std::uint8_t { NoCaps, AllCaps, SmallCaps };

    // -1: not known yet (nothing written), so the first run always names its font and size.
    int font = -1;
    int halfPoints = -1;
    int color = 0; // colour table number, 0 automatic
    int highlight = 0; // colour table number, 0 none
    bool bold = false;
    bool italic = false;
    bool strike = false;
    Underline underline = NoUnderline;
    Vertical vertical = Baseline;
    Caps caps = NoCaps;

    // The state a run of text in this format needs; fonts and colours are numbered on first use.
    static RtfWriterRunState fromFormat(const QTextCharFormat &format, double defaultPointSize,
        RtfWriterFonts &fonts, RtfWriterColors &colors);

    // Writes the control words that turn this state into target, and becomes target.
    void changeTo(const RtfWriterRunState &target, RtfOutput &output);

    bool operator==(const RtfWriterRunState &) const = default;
};
