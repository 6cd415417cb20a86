// Makes the RTF of a note's pictures in the background once the note is shown, so that the first
// save after opening a note of pasted screenshots does not hex-encode them all while the user
// types. The pictures land in the writer's picture cache; a save that comes first makes what is
// not there yet itself.
#pragma once

#include <QThreadPool>

class QTextDocument;

class RtfPicturePreparer
{
public:
    RtfPicturePreparer();
    // Waits for the pictures under way.
    ~RtfPicturePreparer();

    // Starts making the pictures of document that the cache lacks. Only the resources are taken
    // from the document, here, on its own thread.
    void prepare(const QTextDocument &document);
    void waitForDone() { m_pool.waitForDone(); }

private:
    QThreadPool m_pool;
};
