// Copy and paste in the note box: a copy offers the box's RTF beside Qt's own formats, and a paste
// of it is read by the box's reader.
#include "RichTextBox.h"
#include "RtfReader.h"

#include <QClipboard>
#include <QMimeData>
#include <QtTest>
#include <memory>

namespace {

QByteArray rtf(const QByteArray &body)
{
    return "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 " + body + "\\par}";
}

// A document read back from written RTF.
struct Reread
{
    explicit Reread(const QByteArray &rtfText) { RtfReader().read(rtfText, &document); }
    QTextDocument document;
};

std::unique_ptr<RichTextBox> makeBox(const QByteArray &rtfText)
{
    auto box = std::make_unique<RichTextBox>();
    box->setFontSize(10);
    box->resize(420, 260);
    box->show();
    QApplication::setActiveWindow(box.get());
    box->setFocus();
    box->loadRtf(rtfText);
    return box;
}

void select(QTextEdit *box, int from, int to)
{
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
}

} // namespace

class ClipboardTest : public QObject
{
    Q_OBJECT
private slots:
    void copyOffersRtfBesideQtsFormats();
};

void ClipboardTest::copyOffersRtfBesideQtsFormats()
{
    auto box = makeBox(rtf("plain {\\b bold} text"));
    select(box.get(), 6, 10);
    box->copy();
    const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
    const QStringList formats = copied->formats();
    QVERIFY2(formats.contains(QStringLiteral("text/rtf")), qPrintable(formats.join(' ')));
    QVERIFY(formats.contains(QStringLiteral("text/html")));
    QCOMPARE(copied->text(), QStringLiteral("bold"));
    QVERIFY(copied->html().contains(QLatin1String(">bold<")));
    const QByteArray copiedRtf = copied->data(QStringLiteral("text/rtf"));
    QVERIFY(copiedRtf.contains("\\b"));
    QCOMPARE(Reread(copiedRtf).document.toPlainText(), QStringLiteral("bold"));

    // Pasted back into a box it is the box's RTF that is read.
    auto other = makeBox(rtf("x"));
    other->moveCursor(QTextCursor::End);
    other->paste();
    QCOMPARE(other->toPlainText(), QStringLiteral("xbold"));
    QVERIFY(other->textRTF().contains("\\b"));
}

QTEST_MAIN(ClipboardTest)
#include "tst_clipboard.moc"
