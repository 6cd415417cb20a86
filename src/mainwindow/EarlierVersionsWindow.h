// "Earlier Versions - <note>": the versions of one note, newest first (date and time, size, first
// words), then the copies kept beside it, marked as such. The chosen one is shown read-only;
// "&Restore" puts it back in the note (through the restore function, which keeps the current text
// first), "&Copy" puts its rich text on the clipboard, "Close" (or Esc) closes. No button is the
// default: Enter never restores by accident.
#pragma once

#include "history/NoteHistory.h"

#include <QDialog>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;
class RichTextBox;

class EarlierVersionsWindow : public QDialog
{
    Q_OBJECT
public:
    using Entries = std::function<QList<NoteHistory::Entry>()>;
    // Puts rtf back in the note; false when it could not (the restore function tells the user).
    using Restore = std::function<bool(const QByteArray &rtf)>;

    EarlierVersionsWindow(
        const QString &noteName, Entries entries, Restore restore, QWidget *parent = nullptr);

    static QString caption(const QString &noteName)
    {
        return QStringLiteral("Earlier Versions - ") + noteName;
    }
    // One line of the list: local date and time, size and the first words; a kept copy is marked.
    static QString describe(const NoteHistory::Entry &entry, const QString &firstWords);
    // The first words of an RTF document's text.
    static QString firstWords(const QByteArray &rtf);

    void cmdRestore_Click();
    void cmdCopy_Click();

private:
    void fill();
    void showChosen();
    QByteArray chosenRtf() const;

    Entries m_entries;
    Restore m_restore;
    QList<NoteHistory::Entry> m_shown;
    QListWidget *m_list = nullptr;
    RichTextBox *m_preview = nullptr;
    QLabel *m_empty = nullptr;
    QPushButton *m_restoreButton = nullptr;
    QPushButton *m_copyButton = nullptr;
};
