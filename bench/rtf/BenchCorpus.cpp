#include "BenchCorpus.h"

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

namespace {

const char *const words[] = { "the", "note", "project", "meeting", "Monday", "plan", "caf\u00e9",
    "r\u00e9sum\u00e9", "budget", "and", "of", "a", "deadline", "review", "draft", "\u20ac200",
    "client", "call", "to", "with", "notes", "week", "list", "done" };

const char *const fontNames[] = { "Calibri", "Times New Roman", "Courier New" };

QTextCharFormat charFormat(
    int font, int halfPoints, bool bold, bool italic, bool underline, int color)
{
    static const QRgb colors[] = { 0, 0xc00000, 0x0070c0, 0x00b050 };
    QTextCharFormat format;
    format.setFontFamilies({ QString::fromLatin1(fontNames[font]) });
    format.setFontPointSize(halfPoints / 2.0);
    if (bold)
        format.setFontWeight(QFont::Bold);
    if (italic)
        format.setFontItalic(true);
    if (underline)
        format.setFontUnderline(true);
    if (color)
        format.setForeground(QColor::fromRgb(colors[color]));
    return format;
}

QByteArray formatWords(int font, int halfPoints, bool bold, bool italic, bool underline, int color)
{
    QByteArray words = "\\f" + QByteArray::number(font) + "\\fs" + QByteArray::number(halfPoints);
    if (bold)
        words += "\\b";
    if (italic)
        words += "\\i";
    if (underline)
        words += "\\ul";
    if (color)
        words += "\\cf" + QByteArray::number(color);
    return words;
}

QByteArray picture(QRandomGenerator &random)
{
    // Noise compresses badly, so the pictures weigh what photographs and screenshots weigh.
    QImage image(96, 64, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, random.generate() | 0xff000000u);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// RTF text of document text: cp1252 bytes as \'hh, the rest as \uN.
void appendText(QByteArray &rtf, const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7F && u != '\\' && u != '{' && u != '}') {
            rtf += char(u);
        } else if (u >= 0xA0 && u <= 0xFF) {
            rtf += "\\'" + QByteArray::number(u, 16);
        } else if (u == 0x20AC) {
            rtf += "\\'80";
        } else {
            rtf += "\\u" + QByteArray::number(u) + '?';
        }
    }
}

} // namespace

const char *BenchCorpus::name(Kind kind)
{
    switch (kind) {
    case TextHeavy:
        return "text";
    case Formatted:
        return "formatted";
    case Pictures:
        return "pictures";
    }
    return "?";
}

BenchCorpus BenchCorpus::make(Kind kind, qsizetype targetBytes)
{
    BenchCorpus corpus;
    QRandomGenerator random(20240607u + uint(kind));
    const auto pickWord
        = [&] { return QString::fromUtf8(words[random.bounded(int(std::size(words)))]); };

    if (kind == Formatted) {
        // Every combination of three fonts, three sizes, bold, italic, underline and four colours.
        for (int font = 0; font < 3; ++font)
            for (int size : { 20, 24, 28 })
                for (int flags = 0; flags < 8; ++flags)
                    for (int color = 0; color < 4; ++color)
                        corpus.m_formats.append(
                            { formatWords(font, size, flags & 1, flags & 2, flags & 4, color),
                                charFormat(font, size, flags & 1, flags & 2, flags & 4, color) });
    } else {
        corpus.m_formats.append({ formatWords(0, 22, false, false, false, 0),
            charFormat(0, 22, false, false, false, 0) });
        corpus.m_formats.append({ formatWords(0, 22, true, false, false, 0),
            charFormat(0, 22, true, false, false, 0) });
    }
    if (kind == Pictures) {
        for (int i = 0; i < 40; ++i)
            corpus.m_pictures.append(picture(random));
    }

    // Paragraphs are added until the RTF reaches its size.
    corpus.startRtf();
    while (corpus.m_rtf.size() + 2 < targetBytes) {
        Paragraph paragraph;
        const int wordCount = kind == Pictures ? 12 : 40 + int(random.bounded(80));
        Run run;
        for (int w = 0; w < wordCount; ++w) {
            if (kind == Formatted && w % (2 + int(random.bounded(3))) == 0 && !run.text.isEmpty()) {
                paragraph.runs.append(run);
                run = Run();
                run.format = int(random.bounded(int(corpus.m_formats.size())));
            }
            if (kind == TextHeavy && w % 37 == 36) {
                // Now and then a bold word, as in real notes.
                paragraph.runs.append(run);
                paragraph.runs.append({ 1, pickWord(), -1 });
                run = Run();
            }
            run.text += pickWord() + QLatin1Char(w + 1 == wordCount ? '.' : ' ');
        }
        paragraph.runs.append(run);
        if (kind == Pictures)
            paragraph.runs.append(
                { 0, QString(), int(random.bounded(int(corpus.m_pictures.size()))) });
        corpus.appendRtf(paragraph);
        corpus.m_paragraphs.append(paragraph);
    }
    corpus.m_rtf += "}\n";
    return corpus;
}

void BenchCorpus::startRtf()
{
    QByteArray &rtf = m_rtf;
    rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl";
    for (int i = 0; i < int(std::size(fontNames)); ++i)
        rtf += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 " + fontNames[i] + ";}";
    rtf += "}\n{\\colortbl "
           ";\\red192\\green0\\blue0;\\red0\\green112\\blue192;\\red0\\green176\\blue80;}\n"
           "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1\n";
}

void BenchCorpus::appendRtf(const Paragraph &paragraph)
{
    QByteArray &rtf = m_rtf;
    rtf += "\\pard\\sa200\\sl276\\slmult1";
    for (const Run &run : paragraph.runs) {
        if (run.picture >= 0) {
            rtf += "{\\pict\\pngblip\\picw96\\pich64\\picwgoal1440\\pichgoal960\n";
            const QByteArray hex = m_pictures.at(run.picture).toHex();
            for (qsizetype i = 0; i < hex.size(); i += 128)
                rtf += hex.mid(i, 128) + '\n';
            rtf += '}';
            continue;
        }
        rtf += "\\plain" + m_formats.at(run.format).words + ' ';
        appendText(rtf, run.text);
    }
    rtf += "\\par\n";
}

void BenchCorpus::build(QTextDocument *document) const
{
    document->clear();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    int pictures = 0;
    cursor.beginEditBlock();
    bool first = true;
    for (const Paragraph &paragraph : m_paragraphs) {
        if (!first)
            cursor.insertBlock();
        first = false;
        for (const Run &run : paragraph.runs) {
            if (run.picture >= 0) {
                // Every picture decoded where it stands, as a reader must.
                const QString name = QStringLiteral("bench-%1.png").arg(++pictures);
                document->addResource(QTextDocument::ImageResource, QUrl(name),
                    QImage::fromData(m_pictures.at(run.picture)));
                QTextImageFormat image;
                image.setName(name);
                image.setWidth(96);
                image.setHeight(64);
                cursor.insertImage(image);
                continue;
            }
            cursor.insertText(run.text, m_formats.at(run.format).format);
        }
    }
    cursor.endEditBlock();
}
