#include "rtf/RtfListBuilder.h"

#include "rtf/RtfHeaderTables.h"
#include "rtf/RtfKeywords.h"
#include "rtf/RtfListFormat.h"
#include "rtf/RtfWriterLists.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

#include <utility>

namespace {

QTextListFormat::Style styleForPn(int pnStyle)
{
    switch (pnStyle) {
    case RtfParaProps::PnDecimal:
        return QTextListFormat::ListDecimal;
    case RtfParaProps::PnUpperLetter:
        return QTextListFormat::ListUpperAlpha;
    case RtfParaProps::PnLowerLetter:
        return QTextListFormat::ListLowerAlpha;
    case RtfParaProps::PnUpperRoman:
        return QTextListFormat::ListUpperRoman;
    case RtfParaProps::PnLowerRoman:
        return QTextListFormat::ListLowerRoman;
    case RtfParaProps::PnCircle:
        return QTextListFormat::ListCircle;
    case RtfParaProps::PnSquare:
        return QTextListFormat::ListSquare;
    default:
        return QTextListFormat::ListDisc;
    }
}

} // namespace

RtfListBuilder::RtfListBuilder(RtfHeaderTables &header)
    : m_wordLists(header)
{ }

// 'o' (in Courier New, as Word writes it) and the white bullets are circles; Wingdings' square
// (0xA7) and the black squares are squares.
QTextListFormat::Style RtfListBuilder::bulletStyle(char16_t c)
{
    switch (c) {
    case u'o':
    case 0x25e6:
    case 0x25cb:
    case 0xf06f:
        return QTextListFormat::ListCircle;
    case 0xa7:
    case 0xf0a7:
    case 0x25aa:
    case 0x25a0:
    case 0xf06e:
        return QTextListFormat::ListSquare;
    default:
        return QTextListFormat::ListDisc;
    }
}

void RtfListBuilder::apply(const RtfParaProps &props, QTextCursor &cursor)
{
    const QString label = std::exchange(m_label, QString());
    if (props.listOverride > 0 || props.pnStyle != RtfParaProps::PnNone)
        labelInItemFormat(cursor);
    if (props.listOverride > 0) {
        QTextList *list = m_wordLists.add(props.listOverride, props.listLevel, cursor, label);
        m_pnList = nullptr;
        m_pnKey = -1;
        m_pnLast = list;
        return;
    }
    if (props.pnStyle != RtfParaProps::PnNone) {
        applyPn(props, cursor);
        return;
    }
    m_pnList = nullptr;
    m_pnKey = -1;
    m_pnLast = nullptr;
}

// An item's label is drawn in its block's character format, which the block took from the text
// before it (an underlined word ending the paragraph above): the item's own first characters'.
void RtfListBuilder::labelInItemFormat(QTextCursor &cursor)
{
    const QTextBlock block = cursor.block();
    const QTextBlock::iterator first = block.begin();
    if (first.atEnd())
        return;
    const QTextCharFormat own = first.fragment().charFormat();
    if (!own.isImageFormat() && own != block.charFormat())
        cursor.setBlockCharFormat(own);
}

void RtfListBuilder::applyPn(const RtfParaProps &props, QTextCursor &cursor)
{
    QTextListFormat format;
    format.setStyle(styleForPn(props.pnStyle));
    format.setIndent(props.pnLevel + 1);
    if (!RtfWriterLists::isBullet(format.style())) {
        if (m_pnBefore && !m_pnBefore->isEmpty())
            format.setNumberPrefix(*m_pnBefore);
        if (m_pnAfter && *m_pnAfter != QLatin1String("."))
            format.setNumberSuffix(*m_pnAfter);
        RtfListFormat::setStart(format, props.pnStart);
    }
    switch (props.pnKind) {
    case RtfParaProps::PnContinued:
        // Outside the list, which goes on after it (the document builder indents it).
        return;
    case RtfParaProps::PnOutline: {
        // Each level numbers on through the section; an item restarts the levels below it.
        for (int level = props.pnLevel + 1; level < int(m_pnOutline.size()); ++level)
            m_pnOutline[level] = nullptr;
        QPointer<QTextList> &list = m_pnOutline[props.pnLevel];
        if (list && RtfListFormat::style(list->format()) == RtfListFormat::style(format))
            list->add(cursor.block());
        else
            list = cursor.createList(format);
        m_pnList = nullptr;
        m_pnKey = -1;
        m_pnLast = list;
        return;
    }
    default: {
        // Simple numbering and bullets: consecutive paragraphs of one kind make one list.
        const int key = props.pnStyle * 16 + props.pnLevel;
        if (m_pnList && key == m_pnKey) {
            m_pnList->add(cursor.block());
        } else {
            m_pnList = cursor.createList(format);
            m_pnKey = key;
        }
        m_pnLast = m_pnList;
        return;
    }
    }
}

void RtfListBuilder::pnWord(RtfParaProps &para, const RtfKeyword &k, int value)
{
    const auto setKind = [&para](int kind, int level) {
        para.pnKind = kind;
        para.pnLevel = level;
        if (kind == RtfParaProps::PnBulleted)
            para.pnStyle = RtfParaProps::PnBullet;
    };
    switch (k.arg) {
    case RtfKeyword::PnLevel:
        // Levels 1 to 9 are outline levels; 10 and 11 are the simple and the bulleted paragraph.
        if (value >= 1 && value <= 9)
            setKind(RtfParaProps::PnOutline, value - 1);
        else if (value == 11)
            setKind(RtfParaProps::PnBulleted, 0);
        else
            setKind(RtfParaProps::PnBody, 0);
        return;
    case RtfKeyword::PnLevelBullet:
        setKind(RtfParaProps::PnBulleted, 0);
        return;
    case RtfKeyword::PnLevelBody:
        setKind(RtfParaProps::PnBody, 0);
        return;
    case RtfKeyword::PnLevelContinued:
        setKind(RtfParaProps::PnContinued, 0);
        return;
    case RtfKeyword::PnStart:
        para.pnStart = value;
        return;
    default:
        // A bulleted paragraph stays bulleted whatever numbering words come with it.
        if (para.pnKind != RtfParaProps::PnBulleted)
            para.pnStyle = k.arg;
        return;
    }
}

void RtfListBuilder::pnBullet(RtfParaProps &para, char16_t c)
{
    int &style = para.pnStyle;
    if (style != RtfParaProps::PnBullet && style != RtfParaProps::PnCircle
        && style != RtfParaProps::PnSquare)
        return;
    switch (bulletStyle(c)) {
    case QTextListFormat::ListCircle:
        style = RtfParaProps::PnCircle;
        break;
    case QTextListFormat::ListSquare:
        style = RtfParaProps::PnSquare;
        break;
    default:
        style = RtfParaProps::PnBullet;
        break;
    }
}
