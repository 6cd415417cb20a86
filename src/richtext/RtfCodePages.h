// Code pages of RTF text: \fcharset and \ansicpg numbers to decoders, cached per reader, and the
// Symbol font's byte-to-character table.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <memory>
#include <unordered_map>

class QStringDecoder;

class RtfCodePages
{
public:
    // Pseudo code pages for fonts whose bytes are glyph numbers, not characters.
    static constexpr int Symbol = -2; // the Symbol font: mapped to real characters
    static constexpr int SymbolPrivate = -3; // Wingdings and the like: U+F0xx as Windows does

    RtfCodePages();
    ~RtfCodePages();

    // The code page of a font's \fcharsetN; documentCodePage for the default charsets.
    static int codePageForCharset(int charset, int documentCodePage);

    // Appends bytes decoded in codePage to out; unknown code pages fall back to windows-1252.
    // ascii tells that the bytes are known to be 7-bit already.
    void decode(QByteArrayView bytes, int codePage, QString &out, bool ascii = false);

    // A character of a symbol font given its byte (or the byte part of U+F0xx).
    static char16_t symbolCharacter(uchar byte, int codePage);

private:
    QStringDecoder *decoder(int codePage);

    std::unordered_map<int, std::unique_ptr<QStringDecoder>> m_decoders;
};
