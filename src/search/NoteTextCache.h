// The texts of note files already read, so a search after the first is served from memory. An
// entry holds while its file keeps its size and modification time. Safe from several threads.
#pragma once

#include "search/SearchText.h"

#include <QHash>
#include <QString>
#include <mutex>
#include <optional>

class NoteTextCache
{
public:
    // The texts held together, in bytes (each as UTF-8 and folded UTF-8): past it the least
    // recently used go first.
    static constexpr qint64 defaultMaxBytes = qint64(256) * 1024 * 1024;

    struct Stamp
    {
        qint64 size = -1;
        qint64 modifiedNs = 0; // since the epoch
        bool operator==(const Stamp &other) const = default;
    };

    explicit NoteTextCache(qint64 maxBytes = defaultMaxBytes);

    // The file's size and modification time; nothing when it cannot be looked at.
    static std::optional<Stamp> stampOf(const QString &path);

    // The text kept for path when it was read with this stamp.
    std::optional<SearchText> find(const QString &path, const Stamp &stamp);
    void insert(const QString &path, const Stamp &stamp, const SearchText &text);

    qint64 bytes() const;
    qsizetype count() const;

private:
    struct Entry
    {
        Stamp stamp;
        SearchText text;
        quint64 used = 0;
    };
    static qint64 bytesOf(const SearchText &text) { return text.bytes(); }
    void evict();

    mutable std::mutex m_lock;
    QHash<QString, Entry> m_entries;
    qint64 m_maxBytes;
    qint64 m_bytes = 0;
    quint64 m_clock = 0;
};
