#include "editor/SpellHighlighter.h"

#include "editor/LaidOutBlocks.h"
#include "editor/RichTextBox.h"
#include "editor/SpellChecker.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>

namespace {
// A note up to this size is checked whole; a longer one around what is on screen.
constexpr int wholeDocumentLimit = 20000;
constexpr int marginAroundView = 4000;

bool isPartOfAddress(QStringView token)
{
    return token.contains(u'@') || token.contains(u"://") || token.startsWith(u"www.")
        || token.contains(u'/') || token.contains(u'\\') || token.contains(u'_');
}

// Word ranges inside text[from, to) that are not part of a web or mail address.
QList<QPair<int, int>> wordsOf(const QString &text, int from, int to)
{
    QList<QPair<int, int>> words;
    int tokenStart = from;
    while (tokenStart < to) {
        while (tokenStart < to && text.at(tokenStart).isSpace())
            ++tokenStart;
        int tokenEnd = tokenStart;
        while (tokenEnd < to && !text.at(tokenEnd).isSpace())
            ++tokenEnd;
        if (tokenStart >= tokenEnd)
            break;
        const QStringView token = QStringView(text).mid(tokenStart, tokenEnd - tokenStart);
        if (!isPartOfAddress(token)) {
            QTextBoundaryFinder finder(QTextBoundaryFinder::Word, token.data(), token.size());
            int start = -1;
            do {
                const QTextBoundaryFinder::BoundaryReasons reasons = finder.boundaryReasons();
                const int at = int(finder.position());
                if (start >= 0 && (reasons & QTextBoundaryFinder::EndOfItem)) {
                    words.append({ tokenStart + start, tokenStart + at });
                    start = -1;
                }
                if (reasons & QTextBoundaryFinder::StartOfItem)
                    start = at;
            } while (finder.toNextBoundary() >= 0);
        }
        tokenStart = tokenEnd;
    }
    return words;
}
} // namespace

SpellHighlighter::SpellHighlighter(RichTextBox *box)
    : QObject(box)
    , m_box(box)
{
    m_recheck.setSingleShot(true);
    m_recheck.setInterval(50);
    connect(&m_recheck, &QTimer::timeout, this, &SpellHighlighter::recheckNow);
    followDocument();
    connect(box, &RichTextBox::documentReplaced, this, [this] {
        followDocument();
        // The underlines found belong to the document that went.
        if (!m_misspellings.isEmpty()) {
            m_misspellings.clear();
            emit underlinesChanged();
        }
        scheduleRecheck();
    });
    // The word being typed is left alone until the caret leaves it.
    connect(box, &QTextEdit::cursorPositionChanged, this, &SpellHighlighter::scheduleRecheck);
    connect(box->verticalScrollBar(), &QScrollBar::valueChanged, this,
        &SpellHighlighter::scheduleRecheck);
}

void SpellHighlighter::followDocument()
{
    disconnect(m_contentsChange);
    disconnect(m_sizeChange);
    QTextDocument *document = m_box->document();
    m_contentsChange = connect(
        document, &QTextDocument::contentsChange, this, &SpellHighlighter::scheduleRecheck);
    // A long note is laid out in the background: what is on screen is known once that is done.
    m_sizeChange
        = connect(document->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged,
            this, &SpellHighlighter::scheduleRecheck);
}

void SpellHighlighter::setChecker(SpellChecker *checker)
{
    if (m_checker)
        disconnect(m_checker, nullptr, this, nullptr);
    m_checker = checker;
    if (m_checker)
        connect(m_checker, &SpellChecker::wordsChanged, this, &SpellHighlighter::recheckNow);
    recheckNow();
}

bool SpellHighlighter::isActive() const
{
    return m_checker && !m_box->isReadOnly() && m_checker->isValid();
}

void SpellHighlighter::scheduleRecheck()
{
    if (m_checker || !m_misspellings.isEmpty())
        m_recheck.start();
}

QTextCursor SpellHighlighter::misspeltWordAt(int position) const
{
    for (const QTextCursor &word : m_misspellings) {
        if (word.selectionStart() <= position && position <= word.selectionEnd())
            return word;
    }
    return QTextCursor();
}

void SpellHighlighter::rangeToCheck(int *from, int *to) const
{
    const QTextDocument *document = m_box->document();
    const int length = document->characterCount();
    if (length <= wholeDocumentLimit) {
        *from = 0;
        *to = length;
        return;
    }
    // By the blocks' places rather than a hit test: a hit test is wrong while the layout is
    // still being built in the background.
    const int scrolled = m_box->verticalScrollBar()->value();
    const int top = LaidOutBlocks::atHeight(*document, scrolled).position();
    const QTextBlock last
        = LaidOutBlocks::atHeight(*document, scrolled + m_box->viewport()->height());
    const int bottom = last.position() + last.length();
    *from = qMax(0, top - marginAroundView);
    *to = qMin(length, bottom + marginAroundView);
}

void SpellHighlighter::recheckNow()
{
    m_recheck.stop();
    QList<QTextCursor> found;
    // An empty note needs no dictionary: the window opens without waiting for one to load.
    if (!m_box->document()->isEmpty() && isActive()) {
        int from = 0;
        int to = 0;
        rangeToCheck(&from, &to);
        const QTextCursor caret = m_box->textCursor();
        const bool typing = m_box->hasFocus() && !caret.hasSelection();
        QTextDocument *document = m_box->document();
        for (QTextBlock block = document->findBlock(from); block.isValid() && block.position() < to;
             block = block.next()) {
            const QString text = block.text();
            const int blockStart = block.position();
            // Links are addresses, not words.
            QList<QPair<int, int>> links;
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                if (it.fragment().charFormat().isAnchor())
                    links.append({ it.fragment().position() - blockStart,
                        it.fragment().position() - blockStart + it.fragment().length() });
            }
            const int start = qMax(0, from - blockStart);
            const int end = qMin(int(text.size()), to - blockStart);
            for (const auto &[wordStart, wordEnd] : wordsOf(text, start, end)) {
                if (typing && blockStart + wordEnd == caret.position())
                    continue;
                const bool inLink = std::any_of(links.cbegin(), links.cend(),
                    [from = wordStart, to = wordEnd](
                        const auto &link) { return from < link.second && link.first < to; });
                if (inLink || m_checker->isCorrect(text.mid(wordStart, wordEnd - wordStart)))
                    continue;
                QTextCursor word(document);
                word.setPosition(blockStart + wordStart);
                word.setPosition(blockStart + wordEnd, QTextCursor::KeepAnchor);
                found.append(word);
            }
        }
    }
    const auto sameRanges = [](const QTextCursor &a, const QTextCursor &b) {
        return a.selectionStart() == b.selectionStart() && a.selectionEnd() == b.selectionEnd();
    };
    // Most checks find what the last one found: then there is nothing to repaint.
    if (std::equal(found.cbegin(), found.cend(), m_misspellings.cbegin(), m_misspellings.cend(),
            sameRanges))
        return;
    m_misspellings = found;
    emit underlinesChanged();
}
