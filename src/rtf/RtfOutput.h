// The byte buffer the RTF writer builds its output in: control words, numbers, escaped 7-bit text
// and hex, appended into one growing QByteArray without per-character allocations.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringView>
#include <cstring>

class RtfOutput
{
public:
    // headroom bytes are kept free in front of the output, for a head known only at the end.
    explicit RtfOutput(qsizetype expectedSize = 0, qsizetype headroom = 0);

    // "\name" or "\nameN". The name is given without the backslash.
    void word(QByteArrayView name);
    void word(QByteArrayView name, long long value);
    // Bytes written as they are: braces, ready-made control words, line breaks.
    void raw(QByteArrayView bytes);
    void raw(char c);
    // Ready-made control words ("\\ql\\li0..."): written as they are, and text after them is
    // delimited like text after word().
    void words(QByteArrayView bytes);
    void openGroup() { raw('{'); }
    void closeGroup() { raw('}'); }
    // A line break between units of the output; readers ignore it.
    void newline() { raw('\n'); }

    // Document text as 7-bit RTF: printable ASCII as is, \ { } escaped, tab, line separator and the
    // special spaces and hyphens as their control words, anything else as \uN with a cp1252 byte
    // (or ?) for readers that do not know \u. In a symbol font (symbolFont), whose bytes readers
    // take as that font's pictures, printable ASCII is written as \uN too, with itself as fallback.
    void text(QStringView text, bool symbolFont = false);
    // A byte of a single-byte code page, as \'hh.
    void hexByte(unsigned char byte);
    // Binary data as lower-case hex in lines of a fixed width.
    void hexLines(QByteArrayView data);
    // How many bytes hexLines writes for count bytes of data.
    static qsizetype hexLinesSize(qsizetype count);
    // Bytes written as they are, kept as a piece of their own rather than copied into the buffer
    // (a picture's hex, which the picture cache holds already): see takePiecesBehind.
    void shared(const QByteArray &piece);

    // Several control words written into room reserved once, as the words between two runs of
    // text are: at most maxBytes of them, taken into the output when the batch ends.
    class Words
    {
    public:
        Words(RtfOutput &output, qsizetype maxBytes)
            : m_output(output)
            , m_start(output.reserveTail(maxBytes))
            , m_end(m_start)
        { }
        ~Words()
        {
            if (m_end == m_start)
                return;
            m_output.m_size += m_end - m_start;
            m_output.m_afterWord = true;
        }
        Words(const Words &) = delete;
        Words &operator=(const Words &) = delete;

        void add(QByteArrayView name)
        {
            *m_end++ = '\\';
            std::memcpy(m_end, name.data(), size_t(name.size()));
            m_end += name.size();
        }
        void add(QByteArrayView name, long long value)
        {
            add(name);
            m_end = writeNumber(m_end, value);
        }

    private:
        RtfOutput &m_output;
        char *m_start;
        char *m_end;
    };

    qsizetype size() const { return m_size - m_headroom; }
    // The finished output; the buffer is left empty.
    QByteArray take();
    // head, then the finished output: in the same buffer when head fits in the headroom. Shared
    // pieces are copied in.
    QByteArray takeBehind(QByteArrayView head);
    // The same as pieces that follow one another, the shared ones not copied.
    QList<QByteArray> takePiecesBehind(QByteArrayView head);
    // The pieces one after the other, in one array.
    static QByteArray joined(const QList<QByteArray> &pieces);

private:
    char *reserveTail(qsizetype extra)
    {
        if (m_size + extra > m_buffer.size())
            grow(m_size + extra);
        return m_buffer.data() + m_size;
    }
    void grow(qsizetype needed);
    // value in decimal at p; returns the end.
    static char *writeNumber(char *p, long long value);
    void delimitBeforeText();

    // The buffer as it is now, in front of the headroom's head when it is the first piece.
    QByteArray takeBuffer(QByteArrayView head);

    QByteArray m_buffer;
    qsizetype m_size = 0;
    qsizetype m_headroom = 0;
    // The pieces finished so far, shared ones among them; the first keeps its headroom in front.
    QList<QByteArray> m_pieces;
    qsizetype m_firstHeadroom = 0;
    // A control word was the last thing written: text that follows needs a space first.
    bool m_afterWord = false;
};
