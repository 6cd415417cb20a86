#include "editor/NoteMimeData.h"

NoteMimeData::NoteMimeData(QMimeData *qtData)
    : m_qtData(qtData)
{ }

NoteMimeData::~NoteMimeData() = default;

QStringList NoteMimeData::formats() const
{
    QStringList all = QMimeData::formats();
    if (m_qtData) {
        for (const QString &format : m_qtData->formats()) {
            if (!all.contains(format))
                all.append(format);
        }
    }
    return all;
}

bool NoteMimeData::hasFormat(const QString &mimeType) const
{
    return formats().contains(mimeType);
}

QVariant NoteMimeData::retrieveData(const QString &mimeType, QMetaType type) const
{
    // The box's own formats come first: they are set for this selection.
    if (QMimeData::formats().contains(mimeType) || !m_qtData)
        return QMimeData::retrieveData(mimeType, type);
    if (mimeType == QLatin1String("text/plain"))
        return m_qtData->text();
    if (mimeType == QLatin1String("text/html"))
        return m_qtData->html();
    return m_qtData->data(mimeType);
}
