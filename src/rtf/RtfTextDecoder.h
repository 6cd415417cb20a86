// Decodes the body's text bytes into the builder's run with the code page of the current font.
// Bytes wait while a double-byte character's trail byte may still come (it arrives as a \'hh of
// its own); a change of format, font or paragraph decodes what waits first.
#pragma once

#include "rtf/RtfCharProps.h"

#include <QByteArray>
#include <QByteArrayView>

class RtfBuilder;
class RtfCodePages;
class RtfHeaderTables;

class RtfTextDecoder
{
public:
    RtfTextDecoder(RtfCodePages &codePages, const RtfHeaderTables &header);

    void setBuilder(RtfBuilder *builder) { m_builder = builder; }

    // Text bytes in the format props (printable: 7-bit printable bytes and tabs only).
    void appendBytes(QByteArrayView bytes, bool printable, const RtfCharProps &props);
    void appendCharacter(char32_t c, const RtfCharProps &props);
    void decodeBytes();
    // The builder's run goes in, with the bytes still waiting.
    void flushRun();
    // The text of the paragraph being read goes in.
    void flushParagraphText();
    // The font table or the document's code page changed.
    void fontsChanged() { m_lastFontForCodePage = -2; }

private:
    void prepareRun(const RtfCharProps &props);
    void decodeIntoRun(QByteArrayView bytes, int codePage, bool printable);

    RtfCodePages &m_codePages;
    const RtfHeaderTables &m_header;
    RtfBuilder *m_builder = nullptr;
    int m_lastFontForCodePage = -2;
    int m_lastCodePage = 1252;
    QByteArray m_bytes;
    int m_bytesCodePage = 1252;
    bool m_bytesPrintable = true; // printable 7-bit bytes only: nothing to decode or clean
};
