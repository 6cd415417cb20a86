// The rich-text edit box of every note: a QTextEdit that loads and gives its document as RTF and
// reports content changes (Change) and key releases (KeyUp) the way the window's handlers expect.
#pragma once

#include <QTextEdit>

class RichTextBox : public QTextEdit
{
    Q_OBJECT
public:
    explicit RichTextBox(QWidget *parent = nullptr);

    // Replaces the content with the RTF file at path. Returns false, keeping what the box showed,
    // when the file cannot be read or is not RTF.
    bool loadFile(const QString &path);
    // Replaces the content with an RTF document held in memory; false (content kept) when not RTF.
    bool loadRtf(const QByteArray &rtf);
    // The whole document as RTF.
    QByteArray textRTF() const;

    // Replaces the content with plain text (in the box's font).
    void setText(const QString &plainText);
    void setFontSize(double points);
    double fontSize() const;
    void setCaretPosition(int position);

signals:
    // Every change of the content, by the user or by code.
    void Change();
    // Every key release while the box has the focus; a key held down reports one release.
    void KeyUp(int key, Qt::KeyboardModifiers modifiers);

protected:
    void keyReleaseEvent(QKeyEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
};
