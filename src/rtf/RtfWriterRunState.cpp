#include "rtf/RtfWriterRunState.h"

#include "rtf/RtfOutput.h"
#include "rtf/RtfWriterColors.h"
#include "rtf/RtfWriterFonts.h"

#include <QBrush>
#include <QFont>
#include <QStringList>
#include <QTextCharFormat>
#include <cmath>

namespace {

RtfWriterRunState::Underline underlineOf(const QTextCharFormat &format)
{
    QTextCharFormat::UnderlineStyle style = QTextCharFormat::NoUnderline;
    if (format.hasProperty(QTextFormat::TextUnderlineStyle))
        style = format.underlineStyle();
    else if (format.boolProperty(QTextFormat::FontUnderline))
        style = QTextCharFormat::SingleUnderline;
    switch (style) {
    case QTextCharFormat::NoUnderline:
        return RtfWriterRunState::NoUnderline;
    case QTextCharFormat::SingleUnderline:
        return RtfWriterRunState::Single;
    case QTextCharFormat::DotLine:
        return RtfWriterRunState::Dotted;
    case QTextCharFormat::DashUnderline:
        return RtfWriterRunState::Dashed;
    case QTextCharFormat::DashDotLine:
        return RtfWriterRunState::DashDot;
    case QTextCharFormat::DashDotDotLine:
        return RtfWriterRunState::DashDotDot;
    case QTextCharFormat::WaveUnderline:
    case QTextCharFormat::SpellCheckUnderline:
        return RtfWriterRunState::Wave;
    }
    return RtfWriterRunState::Single;
}

// A colour table number for a brush, 0 when it paints nothing.
int colorOf(const QBrush &brush, RtfWriterColors &colors)
{
    if (brush.style() == Qt::NoBrush || brush.color().alpha() == 0)
        return 0;
    return colors.index(brush.color().rgb());
}

int halfPointsOf(const QTextCharFormat &format, double defaultPointSize)
{
    double points = defaultPointSize;
    if (format.hasProperty(QTextFormat::FontSizeAdjustment)) {
        // An HTML size (h1, big, font size=...) is a step from the document's default size, and
        // Qt shows the step whatever point size the format also holds: the same rule as Qt's.
        static constexpr double steps[] = { 0.7, 0.8, 1.0, 1.2, 1.5, 2.0, 2.4 };
        points *= steps[qBound(0, format.intProperty(QTextFormat::FontSizeAdjustment) + 2, 6)];
    } else if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        points = format.fontPointSize();
    else if (format.hasProperty(QTextFormat::FontPixelSize)
        && format.intProperty(QTextFormat::FontPixelSize) > 0)
        points = format.intProperty(QTextFormat::FontPixelSize) * 0.75;
    // RTF sizes are whole half-points from 1 to 3276 points.
    return int(qBound(2L, std::lround(points * 2), 6552L));
}

const char *underlineWord(RtfWriterRunState::Underline underline)
{
    switch (underline) {
    case RtfWriterRunState::NoUnderline:
        return "ulnone";
    case RtfWriterRunState::Single:
        return "ul";
    case RtfWriterRunState::Dotted:
        return "uld";
    case RtfWriterRunState::Dashed:
        return "uldash";
    case RtfWriterRunState::DashDot:
        return "uldashd";
    case RtfWriterRunState::DashDotDot:
        return "uldashdd";
    case RtfWriterRunState::Wave:
        return "ulwave";
    }
    return "ul";
}

} // namespace

RtfWriterRunState RtfWriterRunState::fromFormat(const QTextCharFormat &format,
    double defaultPointSize, RtfWriterFonts &fonts, RtfWriterColors &colors)
{
    RtfWriterRunState state;
    const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
    state.font = fonts.index(families.isEmpty() ? QString() : families.first());
    state.halfPoints = halfPointsOf(format, defaultPointSize);
    state.bold = format.fontWeight() >= QFont::DemiBold;
    state.italic = format.fontItalic();
    state.strike = format.fontStrikeOut();
    state.underline = underlineOf(format);
    switch (format.verticalAlignment()) {
    case QTextCharFormat::AlignSuperScript:
        state.vertical = Super;
        break;
    case QTextCharFormat::AlignSubScript:
        state.vertical = Sub;
        break;
    default:
        state.vertical = Baseline;
        break;
    }
    if (format.hasProperty(QTextFormat::FontCapitalization)) {
        switch (format.fontCapitalization()) {
        case QFont::AllUppercase:
            state.caps = AllCaps;
            break;
        case QFont::SmallCaps:
            state.caps = SmallCaps;
            break;
        default:
            break;
        }
    }
    if (format.hasProperty(QTextFormat::ForegroundBrush))
        state.color = colorOf(format.foreground(), colors);
    if (format.hasProperty(QTextFormat::BackgroundBrush))
        state.highlight = colorOf(format.background(), colors);
    return state;
}

void RtfWriterRunState::changeTo(const RtfWriterRunState &target, RtfOutput &output)
{
    if (*this == target)
        return;
    // Every word below at once, with the longest numbers, fits.
    RtfOutput::Words words(output, 192);
    if (font != target.font)
        words.add("f", target.font);
    if (halfPoints != target.halfPoints)
        words.add("fs", target.halfPoints);
    if (bold != target.bold) {
        if (target.bold)
            words.add("b");
        else
            words.add("b0");
    }
    if (italic != target.italic) {
        if (target.italic)
            words.add("i");
        else
            words.add("i0");
    }
    if (underline != target.underline) {
        // Readers that know only \ul still underline the other kinds.
        if (target.underline > Single)
            words.add("ul");
        words.add(underlineWord(target.underline));
    }
    if (strike != target.strike) {
        if (target.strike)
            words.add("strike");
        else
            words.add("strike0");
    }
    if (vertical != target.vertical) {
        if (target.vertical == Super)
            words.add("super");
        else if (target.vertical == Sub)
            words.add("sub");
        else
            words.add("nosupersub");
    }
    if (caps != target.caps) {
        if (caps == AllCaps)
            words.add("caps0");
        else if (caps == SmallCaps)
            words.add("scaps0");
        if (target.caps == AllCaps)
            words.add("caps");
        else if (target.caps == SmallCaps)
            words.add("scaps");
    }
    if (color != target.color)
        words.add("cf", target.color);
    if (highlight != target.highlight)
        words.add("highlight", target.highlight);
    *this = target;
}
