// Pictures through the clipboard and drag and drop: a copy carries the selected pictures (with the
// bytes read from the file) in its RTF, a paste gives the note the pictures' images so they show
// and are saved, a pasted picture never takes the place of a different one of the same name, and
// a picture pasted on its own becomes part of the note.
#include "editor/NoteClipboard.h"
#include "editor/NotePictures.h"
#include "editor/RichTextBox.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QBuffer>
#include <QClipboard>
#include <QImageWriter>
#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QtTest>
#include <memory>

namespace {

// A small picture whose pixels differ with seed.
QImage pattern(int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 40 + seed * 70) % 256, (y * 60 + seed) % 256, seed));
    }
    return image;
}

QByteArray encoded(const QImage &image, const char *format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

QByteArray pict(const QByteArray &bytes, const char *blip = "pngblip")
{
    return "{\\pict\\" + QByteArray(blip) + " " + bytes.toHex() + "}";
}

QByteArray rtf(const QByteArray &body)
{
    return "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 " + body + "\\par}";
}

QMimeData *rtfData(const QByteArray &rtfText)
{
    auto *data = new QMimeData;
    data->setData(QStringLiteral("text/rtf"), rtfText);
    return data;
}

// A document read back from written RTF, as a note is on its next opening.
struct Reread
{
    explicit Reread(const QByteArray &rtfText) { RtfReader().read(rtfText, &document); }
    QStringList names() const { return NotePictures::names(document); }
    QByteArray original(int index) const
    {
        return document
            .resource(
                QTextDocument::UserResource, QUrl(NotePictures::originalName(names().value(index))))
            .toByteArray();
    }
    QImage image(int index) const
    {
        return document.resource(QTextDocument::ImageResource, QUrl(names().value(index)))
            .value<QImage>();
    }
    QTextDocument document;
};

QImage imageIn(const QTextDocument &document, const QString &name)
{
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(name));
    return resource.value<QImage>().convertToFormat(QImage::Format_RGB32);
}

QTextImageFormat pictureAt(const QTextDocument &document, int position)
{
    QTextCursor cursor(const_cast<QTextDocument *>(&document));
    cursor.setPosition(position + 1);
    return cursor.charFormat().toImageFormat();
}

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

const QChar object = QChar::ObjectReplacementCharacter;

} // namespace

class ClipboardTest : public QObject
{
    Q_OBJECT
private slots:
    void copyOffersRtfBesideQtsFormats();
    void copyCarriesTheSelectedPicturesByteForByte();
    void pasteGivesTheNoteThePictures();
    void pastedPictureNeverReplacesADifferentOne();
    void renamedPicturesTakeNoPastedPicturesName();
    void pictureAloneIsPastedAsAPicture();
    void copyAndPasteBetweenBoxesSavesThePicture();
    void dropWithinTheBoxCopiesThePicture();
    void undoAfterAPasteRemovesThePicture();
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

void ClipboardTest::copyCarriesTheSelectedPicturesByteForByte()
{
    const QByteArray png = encoded(pattern(6, 4, 1), "PNG");
    const QByteArray jpeg = encoded(pattern(8, 8, 2), "JPEG", 90);
    QTextDocument note;
    QVERIFY(RtfReader().read(
        rtf("one " + pict(png) + " two " + pict(jpeg, "jpegblip") + " three"), &note));
    QCOMPARE(note.toPlainText(), QString("one %1 two %1 three").arg(object));
    QTextCursor cursor(&note);

    // "one" and the PNG picture: only that picture goes, as the bytes of the file.
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    QMimeData first;
    NoteClipboard::addSelection(&first, cursor, 10);
    const Reread firstCopy(first.data("text/rtf"));
    QCOMPARE(firstCopy.document.toPlainText(), QString("one %1").arg(object));
    QCOMPARE(firstCopy.names().size(), 1);
    QCOMPARE(firstCopy.original(0), png);
    QVERIFY(!first.hasImage());

    // Everything: the JPEG stays a JPEG of the same bytes.
    cursor.select(QTextCursor::Document);
    QMimeData all;
    NoteClipboard::addSelection(&all, cursor, 10);
    const Reread allCopy(all.data("text/rtf"));
    QCOMPARE(allCopy.names().size(), 2);
    QCOMPARE(allCopy.original(0), png);
    QCOMPARE(allCopy.original(1), jpeg);

    // The picture alone is offered as an image as well.
    cursor.setPosition(4);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    QMimeData alone;
    NoteClipboard::addSelection(&alone, cursor, 10);
    QCOMPARE(
        alone.imageData().value<QImage>().convertToFormat(QImage::Format_RGB32), pattern(6, 4, 1));

    // Text without pictures: RTF of the text, no picture, no image.
    cursor.setPosition(6);
    cursor.setPosition(9, QTextCursor::KeepAnchor);
    QMimeData text;
    NoteClipboard::addSelection(&text, cursor, 10);
    QCOMPARE(Reread(text.data("text/rtf")).document.toPlainText(), QStringLiteral("two"));
    QVERIFY(!text.data("text/rtf").contains("\\pict"));
    QVERIFY(!text.hasImage());

    // No selection, nothing added.
    cursor.clearSelection();
    QMimeData none;
    NoteClipboard::addSelection(&none, cursor, 10);
    QVERIFY(none.formats().isEmpty());
}

void ClipboardTest::pasteGivesTheNoteThePictures()
{
    const QByteArray png = encoded(pattern(5, 3, 3), "PNG");
    QTextDocument note;
    note.setPlainText(QStringLiteral("ab"));
    QTextCursor cursor(&note);
    cursor.setPosition(1);
    const std::unique_ptr<QMimeData> data(rtfData(rtf("x" + pict(png) + "y")));
    QVERIFY(NoteClipboard::canInsert(data.get()));
    QVERIFY(NoteClipboard::insert(data.get(), cursor, 0));
    QCOMPARE(note.toPlainText(), QString("ax%1yb").arg(object));
    const QString name = pictureAt(note, 2).name();
    QCOMPARE(imageIn(note, name), pattern(5, 3, 3));
    const Reread saved(RtfWriter(10).write(note));
    QCOMPARE(saved.original(0), png);

    // Not RTF and no picture: left to Qt.
    QMimeData plain;
    plain.setText(QStringLiteral("plain"));
    QVERIFY(!NoteClipboard::canInsert(&plain));
    QVERIFY(!NoteClipboard::insert(&plain, cursor, 0));
    QCOMPARE(note.toPlainText(), QString("ax%1yb").arg(object));
}

void ClipboardTest::pastedPictureNeverReplacesADifferentOne()
{
    const QByteArray pastedPng = encoded(pattern(4, 4, 5), "PNG");
    const std::unique_ptr<QMimeData> data(rtfData(rtf(pict(pastedPng))));
    // The name the pasted picture is read under...
    QTextDocument probe;
    RtfReader().read(data->data("text/rtf"), &probe);
    const QString name = NotePictures::names(probe).value(0);
    QVERIFY(!name.isEmpty());

    // ... is already taken in the note by another picture (one added by another program, say).
    const QImage own = pattern(4, 4, 9);
    const QByteArray ownPng = encoded(own, "PNG");
    QTextDocument note;
    note.addResource(QTextDocument::ImageResource, QUrl(name), own);
    note.addResource(QTextDocument::UserResource, QUrl(NotePictures::originalName(name)), ownPng);
    QTextCursor cursor(&note);
    QTextImageFormat ownFormat;
    ownFormat.setName(name);
    cursor.insertImage(ownFormat);

    QVERIFY(NoteClipboard::insert(data.get(), cursor, 0));
    QCOMPARE(imageIn(note, name), own.convertToFormat(QImage::Format_RGB32));
    const QString renamed = pictureAt(note, 1).name();
    QVERIFY(renamed != name);
    QCOMPARE(imageIn(note, renamed), pattern(4, 4, 5));
    const Reread saved(RtfWriter(10).write(note));
    QCOMPARE(saved.names().size(), 2);
    QCOMPARE(saved.original(0), ownPng);
    QCOMPARE(saved.original(1), pastedPng);

    // The same paste again shares the renamed picture.
    QVERIFY(NoteClipboard::insert(data.get(), cursor, 0));
    QCOMPARE(pictureAt(note, 2).name(), renamed);
    QCOMPARE(NotePictures::names(note).size(), 2);

    // The same pixels in other PNG bytes are the same picture: the note keeps its bytes.
    QTextDocument second;
    QTextCursor secondCursor(&second);
    QVERIFY(NoteClipboard::insert(data.get(), secondCursor, 0));
    QImageWriter writer;
    QByteArray otherBytes;
    QBuffer buffer(&otherBytes);
    buffer.open(QIODevice::WriteOnly);
    writer.setDevice(&buffer);
    writer.setFormat("png");
    writer.setCompression(0);
    QVERIFY(writer.write(pattern(4, 4, 5)));
    QVERIFY(otherBytes != pastedPng);
    const std::unique_ptr<QMimeData> otherData(rtfData(rtf(pict(otherBytes))));
    QVERIFY(NoteClipboard::insert(otherData.get(), secondCursor, 0));
    QCOMPARE(NotePictures::names(second), QStringList(name));
    QCOMPARE(Reread(RtfWriter(10).write(second)).original(0), pastedPng);
}

void ClipboardTest::renamedPicturesTakeNoPastedPicturesName()
{
    // The pasted document has "p.png" and "p-2.png"; the note already has a different "p.png".
    QTextDocument pasted;
    QTextCursor pastedCursor(&pasted);
    const QString names[] = { QStringLiteral("p.png"), QStringLiteral("p-2.png") };
    for (int i = 0; i < 2; ++i) {
        pasted.addResource(QTextDocument::ImageResource, QUrl(names[i]), pattern(3, 3, 20 + i));
        QTextImageFormat format;
        format.setName(names[i]);
        pastedCursor.insertImage(format);
    }
    QTextDocument note;
    note.addResource(QTextDocument::ImageResource, QUrl(names[0]), pattern(3, 3, 30));

    NotePictures::adopt(&pasted, &note);
    QCOMPARE(NotePictures::names(pasted), QStringList({ "p-3.png", "p-2.png" }));
    QTextCursor(&note).insertFragment(QTextDocumentFragment(&pasted));
    QCOMPARE(imageIn(note, "p.png"), pattern(3, 3, 30));
    QCOMPARE(imageIn(note, "p-3.png"), pattern(3, 3, 20));
    QCOMPARE(imageIn(note, "p-2.png"), pattern(3, 3, 21));
}

void ClipboardTest::pictureAloneIsPastedAsAPicture()
{
    // An image viewer offers the picture, its PNG bytes kept as they are.
    const QImage picture = pattern(7, 5, 4);
    const QByteArray png = encoded(picture, "PNG");
    QMimeData fromViewer;
    fromViewer.setImageData(picture);
    fromViewer.setData(QStringLiteral("image/png"), png);
    QVERIFY(NoteClipboard::canInsert(&fromViewer));
    QTextDocument note;
    QTextCursor cursor(&note);
    QVERIFY(NoteClipboard::insert(&fromViewer, cursor, 100));
    QCOMPARE(note.toPlainText(), QString(object));
    const QString name = pictureAt(note, 0).name();
    QVERIFY(name.endsWith(QLatin1String(".png")));
    QCOMPARE(imageIn(note, name), picture);
    QByteArray saved = RtfWriter(10).write(note);
    QVERIFY(saved.contains("\\pngblip"));
    QCOMPARE(Reread(saved).original(0), png);

    // Without bytes the picture is written as PNG; bytes of another size are not taken for it.
    QMimeData imageOnly;
    imageOnly.setImageData(picture);
    imageOnly.setData(QStringLiteral("image/png"), encoded(pattern(3, 3, 1), "PNG"));
    QTextDocument second;
    QTextCursor secondCursor(&second);
    QVERIFY(NoteClipboard::insert(&imageOnly, secondCursor, 100));
    saved = RtfWriter(10).write(second);
    QVERIFY(saved.contains("\\pngblip"));
    QCOMPARE(Reread(saved).image(0).convertToFormat(QImage::Format_RGB32), picture);

    // JPEG bytes alone; the picture is wider than the room and shown at the room's width.
    const QImage wide = pattern(200, 50, 6);
    const QByteArray jpeg = encoded(wide, "JPEG", 85);
    QMimeData jpegOnly;
    jpegOnly.setData(QStringLiteral("image/jpeg"), jpeg);
    QVERIFY(NoteClipboard::canInsert(&jpegOnly));
    QTextDocument third;
    QTextCursor thirdCursor(&third);
    QVERIFY(NoteClipboard::insert(&jpegOnly, thirdCursor, 100));
    const QTextImageFormat format = pictureAt(third, 0);
    QCOMPARE(format.width(), 100.0);
    QCOMPARE(format.height(), 25.0);
    saved = RtfWriter(10).write(third);
    QVERIFY(saved.contains("\\jpegblip"));
    QVERIFY(saved.contains("\\picwgoal1500"));
    QCOMPARE(Reread(saved).original(0), jpeg);
}

void ClipboardTest::copyAndPasteBetweenBoxesSavesThePicture()
{
    const QByteArray png = encoded(pattern(6, 6, 7), "PNG");
    auto from = makeBox(rtf("see " + pict(png) + " here"));
    from->selectAll();
    from->copy();
    QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("text/rtf")));

    auto to = makeBox(rtf("start"));
    to->moveCursor(QTextCursor::End);
    QVERIFY(to->canPaste());
    to->paste();
    QCOMPARE(to->toPlainText(), QString("startsee %1 here").arg(object));
    QCOMPARE(to->textCursor().position(), to->toPlainText().size());
    const QString name = pictureAt(*to->document(), 9).name();
    QCOMPARE(imageIn(*to->document(), name), pattern(6, 6, 7));
    const Reread saved(to->textRTF());
    QCOMPARE(saved.document.toPlainText(), to->toPlainText());
    QCOMPARE(saved.original(0), png);

    // A picture from an image viewer, pasted with Ctrl+V, is saved with the note.
    auto *image = new QMimeData;
    image->setImageData(pattern(3, 2, 8));
    QGuiApplication::clipboard()->setMimeData(image);
    QVERIFY(to->canPaste());
    QTest::keyClick(to.get(), Qt::Key_V, Qt::ControlModifier);
    const Reread withImage(to->textRTF());
    QCOMPARE(withImage.names().size(), 2);
    QCOMPARE(withImage.image(1).convertToFormat(QImage::Format_RGB32), pattern(3, 2, 8));
}

void ClipboardTest::dropWithinTheBoxCopiesThePicture()
{
    const QByteArray png = encoded(pattern(6, 4, 10), "PNG");
    auto box = makeBox(rtf("ab" + pict(png) + "cd"));
    select(box.get(), 2, 3);
    box->copy();
    const QMimeData *dragged = QGuiApplication::clipboard()->mimeData();

    // Dropped behind "cd": the mime data of a drag is made and taken by the same two functions.
    QTextCursor end = box->textCursor();
    end.movePosition(QTextCursor::End);
    const QPoint target = box->cursorRect(end).center();
    QDragEnterEvent enter(target, Qt::CopyAction, dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box->viewport(), &enter);
    QDragMoveEvent move(target, Qt::CopyAction, dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box->viewport(), &move);
    QDropEvent drop(QPointF(target), Qt::CopyAction, dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box->viewport(), &drop);
    QVERIFY(drop.isAccepted());
    QCOMPARE(box->toPlainText(), QString("ab%1cd%1").arg(object));
    QCOMPARE(pictureAt(*box->document(), 5).name(), pictureAt(*box->document(), 2).name());
    const QByteArray saved = box->textRTF();
    QCOMPARE(saved.count("\\pict"), 2);
    QCOMPARE(Reread(saved).original(0), png);
}

void ClipboardTest::undoAfterAPasteRemovesThePicture()
{
    auto box = makeBox(rtf("text"));
    box->moveCursor(QTextCursor::End);
    QGuiApplication::clipboard()->setMimeData(
        rtfData(rtf("a" + pict(encoded(pattern(4, 3, 11), "PNG")) + "b")));
    box->paste();
    QCOMPARE(box->toPlainText(), QString("texta%1b").arg(object));
    box->undo();
    QCOMPARE(box->toPlainText(), QStringLiteral("text"));
    QVERIFY(!box->textRTF().contains("\\pict"));
    box->redo();
    QCOMPARE(
        Reread(box->textRTF()).image(0).convertToFormat(QImage::Format_RGB32), pattern(4, 3, 11));

    auto *image = new QMimeData;
    image->setImageData(pattern(2, 2, 12));
    QGuiApplication::clipboard()->setMimeData(image);
    box->paste();
    QCOMPARE(box->textRTF().count("\\pict"), 2);
    box->undo();
    QCOMPARE(box->textRTF().count("\\pict"), 1);
}

QTEST_MAIN(ClipboardTest)
#include "tst_clipboard.moc"
