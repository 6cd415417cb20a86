// Lays a note out on pages (a printer's or a PDF's): its title at the top of every page, "Page N of
// M" at the bottom, and a page break in the note starting a new page.
#pragma once

#include <QString>

class QPagedPaintDevice;
class QTextDocument;

class NotePrinter
{
public:
    // The footer of page number of count, "Page 2 of 5".
    static QString footerText(int number, int count);
    // Paints the whole note on device; false when the device cannot be painted on.
    static bool print(QTextDocument &note, const QString &title, QPagedPaintDevice &device);
};
