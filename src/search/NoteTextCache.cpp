#include "search/NoteTextCache.h"

#include <QFile>
#include <algorithm>
#include <sys/stat.h>
#include <vector>

NoteTextCache::NoteTextCache(qint64 maxBytes)
    : m_maxBytes(maxBytes)
{ }

std::optional<NoteTextCache::Stamp> NoteTextCache::stampOf(const QString &path)
{
    // One stat call: ten thousand notes are looked at on every search.
    struct stat info
    { };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return Stamp { qint64(info.st_size),
        qint64(info.st_mtim.tv_sec) * 1000000000 + qint64(info.st_mtim.tv_nsec) };
}

std::optional<SearchText> NoteTextCache::find(const QString &path, const Stamp &stamp)
{
    std::lock_guard lock(m_lock);
    const auto found = m_entries.find(path);
    if (found == m_entries.end() || !(found->stamp == stamp))
        return std::nullopt;
    found->used = ++m_clock;
    return found->text;
}

void NoteTextCache::insert(const QString &path, const Stamp &stamp, const SearchText &text)
{
    if (bytesOf(text) > m_maxBytes)
        return;
    std::lock_guard lock(m_lock);
    Entry &entry = m_entries[path];
    m_bytes += bytesOf(text) - bytesOf(entry.text);
    entry = Entry { stamp, text, ++m_clock };
    if (m_bytes > m_maxBytes)
        evict();
}

void NoteTextCache::evict()
{
    // Down to three quarters of the bound at once, so that a search over more than fits does not
    // sort the entries on every note it reads.
    std::vector<std::pair<quint64, QString>> byUse;
    byUse.reserve(m_entries.size());
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
        byUse.emplace_back(it->used, it.key());
    std::sort(byUse.begin(), byUse.end());
    for (const auto &[used, path] : byUse) {
        if (m_bytes <= m_maxBytes / 4 * 3)
            break;
        const auto found = m_entries.find(path);
        m_bytes -= bytesOf(found->text);
        m_entries.erase(found);
    }
}

qint64 NoteTextCache::bytes() const
{
    std::lock_guard lock(m_lock);
    return m_bytes;
}

qsizetype NoteTextCache::count() const
{
    std::lock_guard lock(m_lock);
    return m_entries.size();
}
