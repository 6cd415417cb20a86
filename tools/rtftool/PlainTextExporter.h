// The plain text of a document as rtftool prints it: every paragraph and every line break ends a
// line, each table cell's paragraphs stand on lines of their own, pictures leave no text.
#pragma once

#include <QString>

class QTextDocument;

class PlainTextExporter
{
public:
    static QString text(const QTextDocument &document);
};
