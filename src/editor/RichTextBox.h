// The rich-text edit box of every note: a QTextEdit that loads and gives its document as RTF and
// reports content changes (Change) and key releases (KeyUp) the way the window's handlers expect.
// It also carries the editing that people expect of a notes program: format shortcuts, a
// right-click menu, Ctrl+click on links, spelling underlines and a find bar.
#pragma once

#include "editor/DocumentDisposal.h"
#include "editor/LayoutPacer.h"
#include "editor/NoteOpening.h"
#include "editor/ScrollBarHold.h"

#include <QPalette>
#include <QTextEdit>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

class FindBar;
class RtfPicturePreparer;
class QProgressBar;
class NoteEditActions;
class SpellChecker;
class SpellHighlighter;

class RichTextBox : public QTextEdit
{
    Q_OBJECT
public:
    explicit RichTextBox(QWidget *parent = nullptr);
    ~RichTextBox() override;

    // Replaces the content with the RTF file at path. Returns false, keeping what the box showed,
    // when the file cannot be read or is not RTF.
    bool loadFile(const QString &path);
    // Replaces the content with an RTF document held in memory; false (content kept) when not RTF.
    // leftOutContent, when given, tells whether the document held content the box cannot show
    // and a save would lose (RtfReader::leftOutContent).
    bool loadRtf(const QByteArray &rtf, bool *leftOutContent = nullptr);
    // Replaces the content with the RTF that read gives, read and built on a thread of its own
    // while the box shows "Opening note... N%" over its text and takes no typing; noteOpened
    // tells the end. Another opening, loadRtf, setText or cancelOpening stops it, and then
    // noteOpened is not emitted.
    void openNote(NoteOpening::Read read);
    bool isOpening() const { return m_opening != nullptr; }
    void cancelOpening();
    // Notes from this size on are better opened with openNote: the window goes on answering.
    static constexpr qint64 openInBackgroundBytes = 512 * 1024;
    // Waits until the documents of the notes shown before are deleted, which otherwise happens
    // in the background.
    void waitForDisposedDocuments() { m_disposal.waitForDone(); }
    // Waits until the pictures of the note last shown are made for its saves, which otherwise
    // happens in the background once it is shown.
    void waitForPreparedPictures();
    // The whole document as RTF.
    QByteArray textRTF() const;
    // The same as pieces that follow one another, the pictures' hex not copied.
    QList<QByteArray> textRtfPieces() const;

    // Replaces the content with plain text in the box's own font and size, whatever the caret had.
    void setText(const QString &plainText);
    void setFontSize(double points);
    double fontSize() const;
    void setCaretPosition(int position);
    // Where the reader is: the caret and the scrolled distance, to be found again as near as can
    // be once the note is loaded anew.
    struct Place
    {
        int caret = 0;
        int scrolled = 0;
    };
    Place place() const;
    void restorePlace(const Place &place);

    // What the box can show over its text without changing it: found text and misspelt words.
    enum HighlightLayer { FindHighlights, SpellingHighlights };
    void setHighlights(HighlightLayer layer, const QList<QTextEdit::ExtraSelection> &highlights);

    // Underlines misspelt words with this checker; null switches spelling off. The checker is not
    // owned and may be shared by many boxes.
    void setSpellChecker(SpellChecker *checker);
    SpellHighlighter *spellHighlighter() const { return m_spelling; }
    NoteEditActions *editActions() const { return m_actions; }
    // The find bar over the box (made on first use).
    FindBar *findBar();
    void openFindBar();

    // Whether a link with this address is handed to the desktop on Ctrl+click: web and mail links
    // only, never a local file or a script.
    static bool opensAsLink(const QString &href);

signals:
    // Every change of the content, by the user or by code.
    void Change();
    // Every key release while the box has the focus; a key held down reports one release.
    void KeyUp(int key, Qt::KeyboardModifiers modifiers);
    // Ctrl+click on a web or mail link (see opensAsLink); the window opens it.
    void openLinkRequested(const QString &href);
    // An opening ended: loaded false when the note could not be read or was not RTF (the content
    // is then kept).
    void noteOpened(bool loaded, bool leftOutContent);
    // The box shows a document other than before (a load installs a new one): whoever follows
    // document() connects again.
    void documentReplaced();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    // Shows a document built away from the box, laid out at the box's final width: the scroll
    // bar is decided first, the rest is laid out afterwards, a slice at a time. A Start is
    // only the first paragraphs of a note still opening, shown until the whole is in.
    enum class Part { Whole, Start };
    void installDocument(std::unique_ptr<QTextDocument> incoming, Part part = Part::Whole);
    void checkOpening();
    void placeOpeningBar();
    // While a note opens, the box draws itself as if enabled, whatever its state.
    void keepEnabledLook(bool keep);
    void showSpellingUnderlines();
    // The width (pixels) the box shows its text in, between the document's margins.
    double room() const;
    // The pointing hand while Ctrl is held over a link, the text pointer otherwise.
    void updateLinkPointer(const QPoint &viewportPos, Qt::KeyboardModifiers modifiers);

    NoteEditActions *m_actions = nullptr;
    SpellHighlighter *m_spelling = nullptr;
    FindBar *m_findBar = nullptr;
    QList<QTextEdit::ExtraSelection> m_findHighlights;
    QList<QTextEdit::ExtraSelection> m_spellingHighlights;
    QString m_pressedLink;
    bool m_linkPointer = false;
    // Deletes the large documents the box lets go, off this thread.
    DocumentDisposal m_disposal;
    std::unique_ptr<NoteOpening> m_opening;
    // Openings stopped while their thread was still busy: let go once it ends.
    std::vector<std::unique_ptr<NoteOpening>> m_stopped;
    // Makes the pictures of a note just shown ready for its first save, off this thread.
    std::unique_ptr<RtfPicturePreparer> m_pictures;
    QTimer m_openingTimer;
    LayoutPacer m_layoutPacer { this };
    ScrollBarHold m_scrollBar { this, m_layoutPacer };
    QProgressBar *m_openingBar = nullptr;
    bool m_keepsEnabledLook = false;
    // The palette set on the box before an opening, if one was.
    std::optional<QPalette> m_ownPalette;
    // The box shows the start of the note still opening (NoteOpening::takeStart).
    bool m_showsStart = false;
};
