// A normalised, line-oriented textual dump of a QTextDocument (blocks, lists, tables, runs,
// images), stable across runs, so tests can compare documents and check golden files.
#pragma once

#include <QString>

class QTextDocument;

QString dumpDocument(const QTextDocument &doc);
