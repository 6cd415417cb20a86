// Code pages of RTF text: \fcharset and \ansicpg numbers to decoders, cached per reader, and the
// Symbol font's byte-to-character table.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <array>
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

    // Whether codePage has one byte per character (so a byte never waits for the next one).
    static bool isSingleByte(int codePage);

    // Appends bytes decoded in codePage to out; unknown code pages fall back to windows-1252.
    // ascii tells that the bytes are known to be 7-bit already.
    void decode(QByteArrayView bytes, int codePage, QString &out, bool ascii = false);

    // A character of a symbol font given its byte (or the byte part of U+F0xx).
    static char16_t symbolCharacter(uchar byte, int codePage);

private:
    using ByteTable = std::array<char16_t, 256>;

    QStringDecoder *decoder(int codePage);
    // The characters of a code page with one byte per character, null for the others.
    const ByteTable *byteTable(int codePage);

    std::unordered_map<int, std::unique_ptr<QStringDecoder>> m_decoders;
    std::unordered_map<int, std::unique_ptr<ByteTable>> m_byteTables;
    int m_lastTableCodePage = 0; // the last table asked for, which is nearly always the next
    const ByteTable *m_lastTable = nullptr;
};
