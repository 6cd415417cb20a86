#include "rtf/RtfNotes.h"

#include "rtf/RtfNumbering.h"

namespace {

QString letters(int n)
{
    // a ... z, then aa ... zz: the letter repeated, as word processors number notes.
    const QChar letter(u'a' + (n - 1) % 26);
    return QString((n - 1) / 26 + 1, letter);
}

} // namespace

void RtfNotes::add(Kind kind, QByteArrayView rtf, const RtfGroupState &start, bool ownMark)
{
    const QByteArrayView author = kind == Comment ? m_author : QByteArrayView();
    m_author = {};
    if (m_notes.size() >= size_t(MaxNotes))
        return;
    RtfGroupState state = start;
    state.destination = RtfGroupState::Body;
    state.field = -1;
    state.nestedTableProps = false;
    state.chars.link = -1;
    state.para = RtfParaProps();
    m_notes.push_back({ kind, ownMark ? 0 : ++m_counts[kind], rtf, author, state });
}

QString RtfNotes::mark(Kind kind, int number) const
{
    QString text;
    switch (m_styles[kind]) {
    case LowerLetter:
        text = letters(number);
        break;
    case UpperLetter:
        text = letters(number).toUpper();
        break;
    case LowerRoman:
        text = RtfNumbering::roman(number, false);
        break;
    case UpperRoman:
        text = RtfNumbering::roman(number, true);
        break;
    default:
        text = QString::number(number);
        break;
    }
    return kind == Comment ? QLatin1Char('[') + text + QLatin1Char(']') : text;
}

std::vector<RtfNotes::Piece> RtfNotes::pieces() const
{
    std::vector<Piece> pieces;
    if (m_notes.empty())
        return pieces;
    RtfGroupState plain;
    pieces.push_back({ QByteArray("\\pard\\plain ________________\\par"), plain, {} });
    for (const Kind kind : { Footnote, Endnote }) {
        for (const Note &note : m_notes) {
            if (note.kind == kind)
                pieces.push_back({ note.rtf.toByteArray(), note.start,
                    note.number > 0 ? mark(kind, note.number) : QString() });
        }
    }
    bool heading = false;
    for (const Note &note : m_notes) {
        if (note.kind != Comment)
            continue;
        if (!heading) {
            pieces.push_back({ QByteArray("\\pard\\plain\\sb240{\\b Comments}\\par"), plain, {} });
            heading = true;
        }
        // The comment's own \chatn shows nothing: its mark and author lead the paragraph.
        QByteArray rtf = "\\pard\\plain{\\b " + mark(Comment, note.number).toLatin1();
        if (!note.author.isEmpty())
            rtf += ' ' + note.author.toByteArray() + ':';
        rtf += "} ";
        pieces.push_back({ rtf + note.rtf.toByteArray(), note.start, {} });
    }
    return pieces;
}
