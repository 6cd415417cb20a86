// The lists of an RTF body as QTextLists: Word's lists by their \ls override and level, and the
// legacy {\*\pn} numbering (runs of bullets or numbers, and outline levels through a section).
#pragma once

#include "rtf/RtfParaProps.h"
#include "rtf/RtfWordLists.h"

#include <QHash>
#include <QPointer>
#include <QTextList>
#include <QTextListFormat>

#include <array>
#include <optional>

class QTextCursor;
class RtfHeaderTables;
struct RtfKeyword;

class RtfListBuilder
{
public:
    explicit RtfListBuilder(RtfHeaderTables &header);

    // The bullet style a bullet character shows.
    static QTextListFormat::Style bulletStyle(char16_t c);
    // A word of a {\*\pn} group: the numbering's kind, level or style.
    static void pnWord(RtfParaProps &para, const RtfKeyword &k, int value);
    // The character of a {\pntxtb}: a bullet's style.
    static void pnBullet(RtfParaProps &para, char16_t c);

    // The block under the cursor joins the list its properties name, or leaves lists.
    void apply(const RtfParaProps &props, QTextCursor &cursor);
    void endSection() { m_pnOutline.fill(nullptr); }
    // The label Word computed for the next item.
    void setLabel(const QString &label) { m_label = label; }
    // The texts the last {\*\pn} group puts before and after its numbers, when it has them.
    void setPnNumberText(const std::optional<QString> &before, const std::optional<QString> &after)
    {
        m_pnBefore = before;
        m_pnAfter = after;
    }
    // A run of simple numbering or bullets is going on.
    bool inPnRun() const { return m_pnList || m_pnKey != -1; }
    // The list of the last item, for a paragraph continuing it without a number.
    QTextList *lastList() const { return m_pnLast.data(); }

private:
    void applyPn(const RtfParaProps &props, QTextCursor &cursor);
    static void labelInItemFormat(QTextCursor &cursor);

    RtfWordLists m_wordLists;
    QString m_label;
    std::optional<QString> m_pnBefore;
    std::optional<QString> m_pnAfter;
    // Qt deletes a list when its last block leaves it: hold them weakly.
    QPointer<QTextList> m_pnList; // the run of simple numbering or bullets going on
    int m_pnKey = -1;
    std::array<QPointer<QTextList>, 9> m_pnOutline; // \pnlvlN numbering, by level
    QPointer<QTextList> m_pnLast; // the list of the last item
};
