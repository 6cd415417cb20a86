// Lays out a large document in short slices on the event loop, each kept to a few milliseconds,
// in place of Qt's own background layout, whose later steps take 200000 characters at a time and
// hold the window for 50-100 ms each. While it runs, Qt's layout timers are held back; the scroll
// bar follows the laid-out part a few times a second. A note taller than Qt's layout can place
// (about 30 million pixels, some 2 million lines) is laid out that far and no further: Qt's
// timers stay held back while it is shown.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QTextDocument;

class LayoutPacer : public QObject
{
    Q_OBJECT
public:
    explicit LayoutPacer(QObject *parent = nullptr);

    // Paces the layout of document from its start (what is laid out already costs little); a
    // document shorter than a few of Qt's steps is left to Qt.
    // Stops pacing the document before. Starts again from the start when the document's width
    // changes.
    void start(QTextDocument *document);
    void stop();
    bool isPacing() const { return m_slices.isActive(); }
    // How far the document is laid out, in characters from its start.
    int laidOutCharacters() const { return m_position; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void step();

    QPointer<QTextDocument> m_document;
    QTimer m_slices;
    int m_position = 0;
    int m_stepSize = 0;
    QElapsedTimer m_sinceReported;
    qreal m_width = 0;
};
