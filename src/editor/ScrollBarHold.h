// Decides the note box's vertical scroll bar where Qt's own rule falls short.
// - A document installed taller than the box has its bar from the start (it is laid out at the
//   width beside the bar, and the width does not change once the layout has begun); the bar is
//   let go to Qt once the laid-out part overflows the box.
// - A document taller than about ten million pixels keeps its bar for as long as it is shown,
//   and the bar's range is worked out here: Qt multiplies the laid-out height by a hundred in an
//   int, which overflows past 21 million pixels (about 1.4 million lines); the bar then vanished,
//   the width changed, and Qt laid the whole note out again from its start, over and over.
#pragma once

#include <QObject>
#include <QPointer>

#include <optional>

class LayoutPacer;
class QSizeF;
class QTextDocument;
class QTextEdit;

class ScrollBarHold : public QObject
{
    Q_OBJECT
public:
    ScrollBarHold(QTextEdit *box, const LayoutPacer &pacer);

    // Before the box shows incoming: shows the bar from the start when the document is taller
    // than the box, which the caller may know already (overflows).
    void prepare(QTextDocument *incoming, bool overflows);
    // Once the box shows document (whether prepared or not).
    void follow(QTextDocument *document);

private:
    enum class Hold {
        None,
        // Shown from the start, until the laid-out part overflows the box.
        UntilOverflow,
        // Taller than Qt's sum of the range holds: the bar stays, its range is set here.
        WhileShown
    };
    void hold(Hold hold);
    void rememberValue();
    void sizeChanged(const QSizeF &documentSize);
    void setTallRange(const QSizeF &documentSize);

    QTextEdit *m_box;
    const LayoutPacer &m_pacer;
    QPointer<QTextDocument> m_document;
    Hold m_hold = Hold::None;
    int m_range = 0;
    qreal m_width = 0;
    // The bar's value before Qt set its range in the size change being followed.
    std::optional<int> m_value;
};
