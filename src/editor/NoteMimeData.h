// The clipboard and drag data of a note box's selection: Qt's own formats (HTML, plain text,
// OpenDocument), made only when a program asks for them, beside the formats the box sets itself
// (RTF, a picture). Qt's data object lists only its own formats, so a format set on it directly
// would never be offered.
#pragma once

#include <QMimeData>
#include <memory>

class NoteMimeData : public QMimeData
{
public:
    // Takes qtData, Qt's data of the selection.
    explicit NoteMimeData(QMimeData *qtData);
    ~NoteMimeData() override;

    QStringList formats() const override;
    bool hasFormat(const QString &mimeType) const override;

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override;

private:
    std::unique_ptr<QMimeData> m_qtData;
};
