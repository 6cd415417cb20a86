// One run of the RTF writer over one document: walks its frames, tables, paragraphs and fragments
// into an RtfOutput, numbering fonts and colours as they are first used, then puts the header with
// those tables in front of the body.
#pragma once

#include "rtf/RtfOutput.h"
#include "rtf/RtfWriterColors.h"
#include "rtf/RtfWriterFonts.h"
#include "rtf/RtfWriterLists.h"
#include "rtf/RtfWriterPicture.h"
#include "rtf/RtfWriterRunState.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QTextBlock>
#include <QTextFrame>
#include <vector>

class QTextDocument;
class QTextFragment;
class QTextList;
class QTextTable;
class RtfWriterPictureCache;

class RtfDocumentWriter
{
public:
    // Pictures are taken from pictureCache when it holds them, and left there when made anew.
    RtfDocumentWriter(const QTextDocument &document, const QString &defaultFamily,
        double defaultPointSize, RtfWriterPictureCache &pictureCache);

    QByteArray write();
    // The same bytes as pieces that follow one another: the pictures' hex stays the cache's own.
    QList<QByteArray> writePieces();

private:
    // What a character format comes to in RTF, worked out once per format of the document.
    struct Run
    {
        RtfWriterRunState state;
        QString href;
        bool image = false;
        bool known = false;
    };

    // Where a paragraph sits: its table nesting level (0 outside tables) and whether \itap must
    // be spelled out for it.
    struct Place
    {
        int depth = 0;
        bool explicitLevel = false;
    };

    void writeFrameContent(QTextFrame::iterator it, const Place &place, const char *lastEnd);
    void writeTable(QTextTable *table, int depth);
    void writeRowDefinition(QTextTable *table, int row, const std::vector<long> &rightEdges);
    void writeBlock(const QTextBlock &block, const Place &place, const char *end);
    void writeListLabel(QTextList *list);
    // A character of a bullet font, as its byte.
    void writeSymbol(unsigned char symbol);
    // The runs of block from first, its first fragment.
    void writeRuns(const QTextBlock &block, QTextBlock::iterator first);
    void writePictures(const QTextFragment &fragment);
    void openLink(const QString &href);
    void closeLink();

    // The run for a format index of the document; format gives the format itself on first use.
    template <typename FormatOf> const Run &run(int formatIndex, FormatOf format);
    const QByteArray &paragraphWords(const QTextBlock &block);
    std::vector<long> cellRightEdges(QTextTable *table) const;
    // The width of a table that follows the box, in fiftieths of a percent; 0 for a table of its
    // own width.
    static long relativeWidth(const QTextTable &table);

    const QTextDocument &m_document;
    RtfWriterPictureCache &m_pictureCache;
    const double m_defaultPointSize;
    // The width the document's text is laid out in, twips.
    const long m_textWidth;
    RtfOutput m_body;
    RtfWriterFonts m_fonts;
    RtfWriterColors m_colors;
    RtfWriterLists m_lists;
    RtfWriterRunState m_state;
    // The state outside the open hyperlink field, restored when the field's groups close.
    RtfWriterRunState m_stateOutsideLink;
    bool m_linkOpen = false;
    QString m_linkHref;
    bool m_pageBreakBefore = false;
    std::vector<Run> m_runs;
    std::vector<QByteArray> m_paragraphWords;
    QHash<const QTextList *, int> m_listItems;
    QHash<QString, RtfWriterPicture> m_pictures;
};
