// The label Word computed for a list item ({\listtext}), decoded in the code pages its pieces were
// written in. The document builder shows it for the numberings Qt has no style for.
#pragma once

#include "rtf/RtfCodePages.h"

#include <QByteArray>
#include <QString>

class RtfListText
{
public:
    static constexpr qsizetype MaxLength = 64;

    explicit RtfListText(RtfCodePages &codePages)
        : m_codePages(codePages)
    { }

    void start();
    void bytes(QByteArrayView bytes, int codePage);
    void character(char16_t c);
    // The label read, without the tab that ends it and the spaces around it (trimmed), or as it is.
    QString take(bool trimmed = true);

private:
    void decode();

    RtfCodePages &m_codePages;
    QByteArray m_bytes; // not decoded yet, in m_codePage
    int m_codePage = 1252;
    QString m_text;
};
