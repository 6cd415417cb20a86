#include "editor/RichTextBox.h"

#include "editor/FindBar.h"
#include "editor/FittedPictureHandler.h"
#include "editor/ListLabelPainter.h"
#include "editor/NoteClipboard.h"
#include "editor/NoteContextMenu.h"
#include "editor/NoteEditActions.h"
#include "editor/NoteMimeData.h"
#include "editor/NoteWideTables.h"
#include "editor/SpellHighlighter.h"
#include "rtf/RtfPicturePreparer.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QUrl>

RichTextBox::RichTextBox(QWidget *parent)
    : QTextEdit(parent)
{
    setAcceptRichText(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Only the document's content raises Change: the highlights of find and spelling are extra
    // selections of the view and never touch the document.
    connect(this, &QTextEdit::textChanged, this, &RichTextBox::Change);
    // The box does not scroll sideways: a picture wider than the box is shown at its width.
    FittedPictureHandler::install(document()->documentLayout());

    m_actions = new NoteEditActions(this);
    m_spelling = new SpellHighlighter(this);
    connect(m_spelling, &SpellHighlighter::underlinesChanged, this,
        &RichTextBox::showSpellingUnderlines);
    viewport()->setMouseTracking(true);
    m_openingTimer.setInterval(20);
    connect(&m_openingTimer, &QTimer::timeout, this, &RichTextBox::checkOpening);
    m_scrollBar.follow(document());
}

RichTextBox::~RichTextBox() = default;

bool RichTextBox::loadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return loadRtf(file.readAll());
}

namespace {
// Notes larger than this load under a busy cursor.
constexpr qsizetype busyCursorBytes = 512 * 1024;
} // namespace

bool RichTextBox::loadRtf(const QByteArray &rtf, bool *leftOutContent)
{
    if (leftOutContent)
        *leftOutContent = false;
    if (!RtfReader::looksLikeRtf(rtf))
        return false;
    cancelOpening();
    // A large note takes a moment: the pointer says so while the program cannot answer.
    const bool busy = rtf.size() > busyCursorBytes
        && qobject_cast<QApplication *>(QCoreApplication::instance());
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    std::unique_ptr<QTextDocument> built
        = NoteOpening::build(rtf, document()->defaultFont(), leftOutContent);
    const bool loaded = built != nullptr;
    if (loaded)
        installDocument(std::move(built));
    if (busy)
        QApplication::restoreOverrideCursor();
    return loaded;
}

void RichTextBox::openNote(NoteOpening::Read read)
{
    cancelOpening();
    m_opening = std::make_unique<NoteOpening>(std::move(read), document()->defaultFont());
    if (!m_openingBar) {
        m_openingBar = new QProgressBar(this);
        m_openingBar->setObjectName(QStringLiteral("barOpening"));
        m_openingBar->setRange(0, 100);
        m_openingBar->setFormat(QStringLiteral("Opening note... %p%"));
        m_openingBar->setAlignment(Qt::AlignCenter);
        // Some styles draw the bar's track see-through: the note's text would show through it.
        m_openingBar->setBackgroundRole(QPalette::Base);
        m_openingBar->setAutoFillBackground(true);
    }
    m_openingBar->setValue(0);
    keepEnabledLook(true);
    placeOpeningBar();
    m_openingBar->show();
    m_openingTimer.start();
}

void RichTextBox::cancelOpening()
{
    // Whatever the box shows next is not the whole of the note whose start it may show.
    m_showsStart = false;
    if (m_opening) {
        m_opening->cancel();
        // Its thread may be inside a large picture: nothing waits for it here.
        if (!m_opening->hasEnded())
            m_stopped.push_back(std::move(m_opening));
        m_opening.reset();
    }
    if (m_openingBar)
        m_openingBar->hide();
    keepEnabledLook(false);
    if (m_stopped.empty())
        m_openingTimer.stop();
}

void RichTextBox::checkOpening()
{
    std::erase_if(m_stopped, [](const auto &opening) { return opening->hasEnded(); });
    if (!m_opening) {
        if (m_stopped.empty())
            m_openingTimer.stop();
        return;
    }
    const NoteOpening::Outcome outcome = m_opening->outcome();
    if (outcome == NoteOpening::Outcome::Opening) {
        // The first screen of the note shows under the bar while the rest is read; the box still
        // takes no typing.
        if (std::unique_ptr<QTextDocument> start = m_opening->takeStart())
            installDocument(std::move(start), Part::Start);
        m_openingBar->setValue(m_opening->percent());
        return;
    }
    bool leftOut = false;
    std::unique_ptr<QTextDocument> built = m_opening->takeDocument(&leftOut);
    const bool startShown = m_showsStart;
    cancelOpening();
    if (outcome == NoteOpening::Outcome::Opened && built) {
        m_showsStart = startShown;
        installDocument(std::move(built));
        emit noteOpened(true, leftOut);
    } else if (outcome != NoteOpening::Outcome::Cancelled) {
        emit noteOpened(false, false);
    }
}

void RichTextBox::keepEnabledLook(bool keep)
{
    if (keep == m_keepsEnabledLook)
        return;
    m_keepsEnabledLook = keep;
    if (!keep) {
        setPalette(m_ownPalette ? *m_ownPalette : QPalette());
        m_ownPalette.reset();
        return;
    }
    // The window keeps the box disabled while the note opens; the note's first screen and the
    // bar over it are still drawn in the colours the note has once it is in.
    if (testAttribute(Qt::WA_SetPalette))
        m_ownPalette = palette();
    QPalette look = palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto colorRole = QPalette::ColorRole(role);
        look.setBrush(QPalette::Disabled, colorRole, look.brush(QPalette::Active, colorRole));
    }
    setPalette(look);
}

void RichTextBox::placeOpeningBar()
{
    if (!m_openingBar)
        return;
    const QRect area = viewport()->geometry();
    const int width = qMin(area.width() - 20, qMax(200, area.width() / 2));
    const int height = m_openingBar->sizeHint().height();
    m_openingBar->setGeometry(area.x() + (area.width() - width) / 2,
        area.y() + (area.height() - height) / 2, width, height);
}

void RichTextBox::installDocument(std::unique_ptr<QTextDocument> incoming, Part part)
{
    QTextDocument *shown = incoming.release();
    shown->setParent(this);
    NoteWideTables::fit(shown, room());
    FittedPictureHandler::install(shown->documentLayout());
    // The highlights belong to the document going.
    m_findHighlights.clear();
    m_spellingHighlights.clear();
    setExtraSelections({});
    // From the top: the new document is laid out only as far as the box shows.
    verticalScrollBar()->setValue(0);
    // The whole note is at least as tall as its start: a scroll bar the start showed stays.
    const bool afterStart = std::exchange(m_showsStart, part == Part::Start);
    m_scrollBar.prepare(shown, afterStart && verticalScrollBar()->isVisible());
    // The box's first document is its text control's, which deletes it when it is replaced.
    QPointer<QTextDocument> old = document();
    // Nothing here refers to the document going once the box shows the new one.
    m_layoutPacer.stop();
    setDocument(shown);
    m_scrollBar.follow(shown);
    emit documentReplaced();
    if (old && old->parent() == this) {
        old->setParent(nullptr);
        m_disposal.dispose(std::unique_ptr<QTextDocument>(old.data()));
    }
    setCaretPosition(0);
    m_layoutPacer.start(shown);
    if (part == Part::Start)
        return;
    // The first save of the note finds its pictures made.
    if (!m_pictures)
        m_pictures = std::make_unique<RtfPicturePreparer>();
    m_pictures->prepare(*shown);
}

void RichTextBox::waitForPreparedPictures()
{
    if (m_pictures)
        m_pictures->waitForDone();
}

QByteArray RichTextBox::textRTF() const
{
    return RtfWriter(fontSize()).write(*document());
}

QList<QByteArray> RichTextBox::textRtfPieces() const
{
    return RtfWriter(fontSize()).writePieces(*document());
}

void RichTextBox::setText(const QString &plainText)
{
    cancelOpening();
    // Emptying a large note in place would free its blocks here: a new document takes its place.
    if (document()->characterCount() >= DocumentDisposal::threadedCharacters) {
        auto empty = std::make_unique<QTextDocument>();
        empty->setDefaultFont(document()->defaultFont());
        installDocument(std::move(empty));
    }
    // The caret keeps its character format through setPlainText, so the new text would start in
    // the format of the note shown before it. It starts in the box's own font and size instead.
    QTextCursor caret = textCursor();
    caret.clearSelection();
    setTextCursor(caret);
    QTextCharFormat own;
    own.setFontPointSize(fontSize());
    setCurrentCharFormat(own);
    setPlainText(plainText);
}

void RichTextBox::setFontSize(double points)
{
    if (points <= 0)
        return;
    QFont font = document()->defaultFont();
    font.setPointSizeF(points);
    document()->setDefaultFont(font);
    QTextCharFormat format = currentCharFormat();
    format.setFontPointSize(points);
    setCurrentCharFormat(format);
}

double RichTextBox::fontSize() const
{
    return document()->defaultFont().pointSizeF();
}

void RichTextBox::setCaretPosition(int position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(qBound(0, position, document()->characterCount() - 1));
    setTextCursor(cursor);
}

RichTextBox::Place RichTextBox::place() const
{
    return { textCursor().position(), verticalScrollBar()->value() };
}

void RichTextBox::restorePlace(const Place &place)
{
    setCaretPosition(place.caret);
    verticalScrollBar()->setValue(place.scrolled);
}

void RichTextBox::setHighlights(
    HighlightLayer layer, const QList<QTextEdit::ExtraSelection> &highlights)
{
    (layer == FindHighlights ? m_findHighlights : m_spellingHighlights) = highlights;
    // Spelling last: its underline shows over a find highlight.
    setExtraSelections(m_findHighlights + m_spellingHighlights);
}

void RichTextBox::setSpellChecker(SpellChecker *checker)
{
    m_spelling->setChecker(checker);
}

void RichTextBox::showSpellingUnderlines()
{
    QList<QTextEdit::ExtraSelection> underlines;
    for (const QTextCursor &word : m_spelling->misspellings()) {
        QTextEdit::ExtraSelection underline;
        underline.cursor = word;
        underline.format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
        underline.format.setUnderlineColor(QColor(220, 0, 0));
        underlines.append(underline);
    }
    setHighlights(SpellingHighlights, underlines);
}

FindBar *RichTextBox::findBar()
{
    if (!m_findBar)
        m_findBar = new FindBar(this);
    return m_findBar;
}

void RichTextBox::openFindBar()
{
    findBar()->open();
}

bool RichTextBox::opensAsLink(const QString &href)
{
    const QUrl url(href.trimmed(), QUrl::StrictMode);
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("mailto"))
        return !url.path().isEmpty();
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        && !url.host().isEmpty();
}

bool RichTextBox::event(QEvent *event)
{
    // The box's own shortcuts win over the text control's key bindings (on X11 Ctrl+U would
    // otherwise delete the line); the window's shortcuts are not among them and pass on.
    if (event->type() == QEvent::ShortcutOverride
        && m_actions->actionForKey(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QTextEdit::event(event);
}

void RichTextBox::keyPressEvent(QKeyEvent *event)
{
    // No typing into a note that is not shown yet.
    if (m_opening) {
        event->ignore();
        return;
    }
    if (QAction *action = m_actions->actionForKey(event)) {
        m_actions->updateStates();
        action->trigger();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape && m_findBar && m_findBar->isVisible()) {
        m_findBar->close();
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
    // Whether a modifier's own event carries that modifier differs between platforms.
    if (event->key() == Qt::Key_Control)
        updateLinkPointer(
            viewport()->mapFromGlobal(QCursor::pos()), event->modifiers() | Qt::ControlModifier);
}

void RichTextBox::keyReleaseEvent(QKeyEvent *event)
{
    QTextEdit::keyReleaseEvent(event);
    if (event->key() == Qt::Key_Control)
        updateLinkPointer(
            viewport()->mapFromGlobal(QCursor::pos()), event->modifiers() & ~Qt::ControlModifier);
    if (!event->isAutoRepeat())
        emit KeyUp(event->key(), event->modifiers());
}

void RichTextBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = NoteContextMenu::create(this, event->pos());
    menu->exec(event->globalPos());
    delete menu;
}

void RichTextBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier)) {
        const QString href = anchorAt(event->position().toPoint());
        if (!href.isEmpty()) {
            // The click belongs to the link: the caret stays where it was.
            m_pressedLink = href;
            event->accept();
            return;
        }
    }
    m_pressedLink.clear();
    QTextEdit::mousePressEvent(event);
}

void RichTextBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_pressedLink.isEmpty() && event->button() == Qt::LeftButton) {
        const QString href = anchorAt(event->position().toPoint());
        const QString pressed = std::exchange(m_pressedLink, QString());
        if (href == pressed && (event->modifiers() & Qt::ControlModifier) && opensAsLink(href))
            emit openLinkRequested(href);
        event->accept();
        return;
    }
    QTextEdit::mouseReleaseEvent(event);
}

void RichTextBox::mouseMoveEvent(QMouseEvent *event)
{
    QTextEdit::mouseMoveEvent(event);
    updateLinkPointer(event->position().toPoint(), event->modifiers());
}

void RichTextBox::updateLinkPointer(const QPoint &viewportPos, Qt::KeyboardModifiers modifiers)
{
    const bool overLink = (modifiers & Qt::ControlModifier)
        && viewport()->rect().contains(viewportPos) && !anchorAt(viewportPos).isEmpty();
    if (overLink == m_linkPointer)
        return;
    m_linkPointer = overLink;
    viewport()->setCursor(overLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
}

void RichTextBox::focusInEvent(QFocusEvent *event)
{
    QTextEdit::focusInEvent(event);
    m_spelling->scheduleRecheck();
}

void RichTextBox::focusOutEvent(QFocusEvent *event)
{
    QTextEdit::focusOutEvent(event);
    // The word being typed is checked once the box is left.
    m_spelling->scheduleRecheck();
    if (m_linkPointer)
        updateLinkPointer(QPoint(-1, -1), Qt::NoModifier);
}

void RichTextBox::resizeEvent(QResizeEvent *event)
{
    QTextEdit::resizeEvent(event);
    if (m_findBar && m_findBar->isVisible())
        m_findBar->place();
    placeOpeningBar();
    m_spelling->scheduleRecheck();
    // A new width lays the whole note out again.
    if (event->size().width() != event->oldSize().width())
        m_layoutPacer.start(document());
}

void RichTextBox::paintEvent(QPaintEvent *event)
{
    QTextEdit::paintEvent(event);
    // The list labels Qt leaves out, in the same place as the text Qt has just drawn.
    const QScrollBar *across = horizontalScrollBar();
    const int x = isRightToLeft() ? across->maximum() - across->value() : across->value();
    const QPointF offset(x, verticalScrollBar()->value());
    QPainter painter(viewport());
    painter.translate(-offset);
    ListLabelPainter::paint(painter, *document(), QRectF(event->rect()).translated(offset),
        palette().brush(QPalette::Text));
}

QMimeData *RichTextBox::createMimeDataFromSelection() const
{
    auto *data = new NoteMimeData(QTextEdit::createMimeDataFromSelection());
    NoteClipboard::addSelection(data, textCursor(), fontSize());
    return data;
}

bool RichTextBox::canInsertFromMimeData(const QMimeData *source) const
{
    return NoteClipboard::canInsert(source) || QTextEdit::canInsertFromMimeData(source);
}

void RichTextBox::insertFromMimeData(const QMimeData *source)
{
    // A pasted table wider than the box is shrunk in the same undoable step as the paste.
    QTextCursor step(document());
    step.beginEditBlock();
    QTextCursor cursor = textCursor();
    if (!isReadOnly() && NoteClipboard::insert(source, cursor, room())) {
        setTextCursor(cursor);
        ensureCursorVisible();
    } else {
        QTextEdit::insertFromMimeData(source);
    }
    NoteWideTables::fit(document(), room());
    step.endEditBlock();
}

double RichTextBox::room() const
{
    int width = viewport()->width();
    if (!isVisible()) {
        // Before the box is first shown its viewport has not followed its size yet.
        const int scrollBar = verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff
            ? 0
            : style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        width = contentsRect().width() - scrollBar;
    }
    return width - 2 * document()->documentMargin();
}
