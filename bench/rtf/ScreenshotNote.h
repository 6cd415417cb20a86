// A note of pasted screenshots as the editor keeps them: each picture as its image and, beside it,
// the PNG bytes it came as. Noise compresses badly, so 640 by 640 pixels weigh about 1.2 MB; forty
// of them make about 99 MB of RTF.
#pragma once

#include <QByteArray>
#include <QList>
#include <QTextDocument>

class ScreenshotNote
{
public:
    static constexpr int count = 40;

    ScreenshotNote();
    // Puts fresh copies of the PNG bytes in the document, as a new paste would: no writer has
    // seen these.
    void renewBytes();

    QTextDocument document;
    QList<QByteArray> png;
};
