// The pictures of a note as they move between documents. A document keeps each picture's image,
// and the PNG or JPEG bytes the RTF reader found, as resources beside the text; a
// QTextDocumentFragment carries only the text and the picture's name. Copy, paste and drag and
// drop carry the resources across with this class, so a picture is neither lost nor mixed up
// with another of the same name.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QSet>
#include <QStringList>

class QTextDocument;
class QVariant;

class NotePictures
{
public:
    // The resource beside a picture's image that holds the bytes read from the file.
    static QString originalName(const QString &pictureName);

    // The names of the pictures the document shows, each once, in document order.
    static QStringList names(const QTextDocument &document);
    // The image of the document when it is one picture and nothing else, otherwise null.
    static QImage soleImage(const QTextDocument &document);

    // Gives `to` the image and the original bytes that `from` holds for each picture `to` shows.
    static void copyResources(const QTextDocument &from, QTextDocument *to);

    // Adds the pictures of `pasted` to `target` before a fragment of `pasted` goes into it. A
    // picture `target` already holds under the same name is shared; one whose name `target` uses
    // for a different picture is renamed in `pasted`, so the picture already there stays.
    static void adopt(QTextDocument *pasted, QTextDocument *target);

    // Adds image (with its PNG or JPEG bytes, when known) to document as a picture and returns
    // the name to show it by.
    static QString addImage(
        QTextDocument *document, const QImage &image, const QByteArray &original = QByteArray());

    // The PNG or JPEG bytes of a clipboard picture, kept only when they are of image's size.
    static QByteArray originalBytes(const QByteArray &bytes, const QImage &image);

private:
    // Puts the picture into target under name, or the first free name made from it, skipping the
    // names in taken; returns the name used.
    static QString place(QTextDocument *target, const QString &name, const QVariant &image,
        const QByteArray &original, const QSet<QString> &taken);
    static void rename(QTextDocument *document, const QHash<QString, QString> &newNames);
};
