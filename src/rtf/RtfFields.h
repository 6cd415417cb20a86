// The fields of an RTF document as the reader meets them: each field's instruction, decoded in
// the code pages its pieces were written in, and the links the results of HYPERLINK fields make.
// A field is never acted on: only its result is shown, as a link when it is one.
#pragma once

#include "rtf/RtfCodePages.h"

class RtfHeaderTables;

#include <QList>
#include <QStringList>

class RtfFields
{
public:
    static constexpr int MaxFields = 100000;

    explicit RtfFields(RtfCodePages &codePages);

    // A new field's number, or -1 past the cap.
    int start();
    void startInstruction(int field, int codePage);
    void instructionBytes(int field, QByteArrayView bytes, int codePage);
    void instructionCharacter(int field, char16_t c);
    // The link the field's result shows (an index for link()), or -1 when it is no link.
    int resultLink(int field);
    // The target of a link, empty for no link.
    QString link(int index) const { return m_links.value(index); }

    // The character a SYMBOL field shows, 0 for any other field; font is set to the font table
    // entry it names, left as it is when it names none. Its result is then not shown.
    char32_t symbol(int field, RtfHeaderTables &header, int &font);
    bool isSymbol(int field) const { return m_fields.at(field).symbol; }

    // HYPERLINK "url" [\l "anchor"] [\o "tip"] ...: the link target, or an empty string.
    static QString hyperlinkTarget(const QString &instruction);
    // An instruction's words, quotes removed ("a b" is one word, \" a quote inside it).
    static QStringList instructionWords(const QString &instruction);

private:
    struct Field
    {
        QByteArray instruction; // bytes not decoded yet, in codePage
        QString text; // what is decoded so far
        int codePage = 1252;
        int link = -1;
        bool symbol = false;
    };

    const QString &decoded(Field &field);
    static char32_t symbolCode(const QStringList &words, QString &fontName, bool &unicode);

    RtfCodePages &m_codePages;
    QList<Field> m_fields;
    QStringList m_links;
};
