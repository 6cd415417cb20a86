#include "rtf/RtfHeaderTables.h"

#include <algorithm>

RtfHeaderTables::RtfHeaderTables(RtfCodePages &codePages)
    : m_codePages(codePages)
{ }

void RtfHeaderTables::word(
    RtfGroupState::Destination destination, const RtfKeyword &k, int p, bool has)
{
    switch (destination) {
    case RtfGroupState::FontTable:
        if (k.kind == RtfKeyword::Command && k.arg == RtfKeyword::FontNumber) {
            if (m_fontNumber >= 0)
                commitFont();
            m_fontNumber = has ? p : 0;
            m_font = Font();
            m_fontNameBytes.clear();
            m_fontName.clear();
        } else if (k.target == RtfKeyword::Font) {
            (k.arg == RtfKeyword::FontCharset ? m_font.charset : m_font.codePage) = p;
        }
        return;
    case RtfGroupState::ColorTable:
        if (k.target == RtfKeyword::Colour) {
            int *const channel[] = { &m_red, &m_green, &m_blue };
            *channel[k.arg] = k.valueFor(p, has);
        }
        return;
    case RtfGroupState::List:
        if (k.target == RtfKeyword::List && k.arg == RtfKeyword::ListId && !m_lists.isEmpty())
            m_lists.last().id = p;
        return;
    case RtfGroupState::ListLevel:
        listWord(k, p, has);
        return;
    case RtfGroupState::ListOverride:
        overrideWord(k, p, has);
        return;
    default:
        return;
    }
}

void RtfHeaderTables::listWord(const RtfKeyword &k, int p, bool has)
{
    if (k.target != RtfKeyword::Level || m_lists.isEmpty() || m_lists.last().levels.isEmpty())
        return;
    ListLevelDef &level = m_lists.last().levels.last();
    switch (k.arg) {
    case RtfKeyword::LevelNumberFormat:
        level.numberFormat = p;
        return;
    case RtfKeyword::LevelStart:
        level.start = k.valueFor(p, has);
        return;
    case RtfKeyword::LevelLegal:
        level.legal = !has || p != 0;
        return;
    case RtfKeyword::LevelNoRestart:
        level.noRestart = !has || p != 0;
        return;
    default:
        return;
    }
}

void RtfHeaderTables::overrideWord(const RtfKeyword &k, int p, bool has)
{
    if (k.para == &RtfParaProps::listOverride) {
        m_overrideNumber = p;
    } else if (k.target == RtfKeyword::List && k.arg == RtfKeyword::ListId) {
        m_overrideList = p;
    } else if (k.target == RtfKeyword::List && k.arg == RtfKeyword::OverrideLevel) {
        ++m_overrideLevel;
    } else if (k.target == RtfKeyword::List && k.arg == RtfKeyword::OverrideStart) {
        if (m_overrideLevel >= 0 && m_overrideLevel < 9)
            m_overrideStarts[m_overrideLevel] = 1;
    } else if (k.target == RtfKeyword::Level && k.arg == RtfKeyword::LevelStart) {
        // {\lfolevel\listoverridestartat\levelstartatN}: the level starts again at N.
        if (m_overrideLevel >= 0 && m_overrideLevel < 9 && m_overrideStarts[m_overrideLevel] >= 0)
            m_overrideStarts[m_overrideLevel] = k.valueFor(p, has);
    }
}

void RtfHeaderTables::text(RtfGroupState::Destination destination, QByteArrayView text)
{
    switch (destination) {
    case RtfGroupState::FontTable:
        // "Name;" ends an entry; the name's bytes are decoded with the font's own code page.
        for (const char c : text) {
            if (c == ';') {
                commitFont();
            } else if (m_fontNumber >= 0 && m_fontNameBytes.size() + m_fontName.size() < 256) {
                m_fontNameBytes.append(c);
            }
        }
        return;
    case RtfGroupState::ColorTable:
        for (const char c : text) {
            if (c == ';')
                commitColour();
        }
        return;
    case RtfGroupState::LevelText:
        if (m_levelText.size() < 64)
            m_levelText.append(
                QString::fromLatin1(text.data(), std::min<qsizetype>(text.size(), 64)));
        return;
    default:
        return;
    }
}

void RtfHeaderTables::unicode(RtfGroupState::Destination destination, char16_t c)
{
    if (destination == RtfGroupState::LevelText) {
        if (m_levelText.size() < 64)
            m_levelText.append(QChar(c));
    } else if (destination == RtfGroupState::FontTable) {
        // Font names can be written as \uN too (with or without a fallback).
        if (m_fontNumber >= 0 && m_fontName.size() < 256) {
            m_codePages.decode(m_fontNameBytes, fontTableCodePage(), m_fontName);
            m_fontNameBytes.clear();
            m_fontName.append(QChar(c));
        }
    }
}

void RtfHeaderTables::closeGroup(
    RtfGroupState::Destination destination, RtfGroupState::Destination parent)
{
    switch (destination) {
    case RtfGroupState::FontTable:
        if (parent != RtfGroupState::FontTable || m_fontNumber >= 0)
            commitFont(); // an entry without its closing semicolon
        return;
    case RtfGroupState::LevelText:
        // The text is a length byte, then the level's characters: a bullet is one of them.
        if (parent == RtfGroupState::ListLevel && !m_lists.isEmpty()
            && !m_lists.last().levels.isEmpty() && m_levelText.size() > 1) {
            ListLevelDef &level = m_lists.last().levels.last();
            level.bullet = m_levelText.at(1).unicode();
            level.text = m_levelText.mid(1, m_levelText.at(0).unicode());
        }
        return;
    case RtfGroupState::ListOverride:
        if (parent != RtfGroupState::ListOverride && m_overrideNumber > 0
            && m_overrides.size() < MaxLists)
            m_overrides.insert(m_overrideNumber, Override { m_overrideList, m_overrideStarts });
        return;
    default:
        return;
    }
}

bool RtfHeaderTables::startList()
{
    if (m_lists.size() >= MaxLists)
        return false;
    m_lists.append(ListDef());
    return true;
}

bool RtfHeaderTables::startListLevel()
{
    if (m_lists.isEmpty() || m_lists.last().levels.size() >= 9)
        return false;
    m_lists.last().levels.append(ListLevelDef());
    return true;
}

int RtfHeaderTables::codePageOfFont(int font) const
{
    const int index = font < 0 ? defaultFont : font;
    const auto found = m_fonts.constFind(index);
    if (found == m_fonts.constEnd())
        return documentCodePage;
    const Font &f = found.value();
    // Fonts whose bytes are glyph numbers: by charset 2, or by name when a writer left the
    // charset out.
    const int byName = codePageOfName(f.name, 0);
    if (byName == RtfCodePages::SymbolPrivate)
        return byName;
    if (f.charset == 2 || byName == RtfCodePages::Symbol)
        return RtfCodePages::Symbol;
    if (f.codePage > 0)
        return f.codePage;
    if (f.charset >= 0)
        return RtfCodePages::codePageForCharset(f.charset, documentCodePage);
    return documentCodePage;
}

int RtfHeaderTables::codePageOfName(const QString &name, int documentCodePage)
{
    if (name.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive)
        || name.startsWith(QLatin1String("Webdings"), Qt::CaseInsensitive))
        return RtfCodePages::SymbolPrivate;
    if (name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
        return RtfCodePages::Symbol;
    return documentCodePage;
}

int RtfHeaderTables::fontNamed(const QString &name)
{
    if (m_fontsByNameFor != m_fonts.size()) {
        // Of fonts of equal names, the lowest number.
        m_fontsByName.clear();
        for (auto it = m_fonts.constBegin(); it != m_fonts.constEnd(); ++it) {
            const QString name = it.value().name.toCaseFolded();
            const auto found = m_fontsByName.constFind(name);
            if (found == m_fontsByName.constEnd() || found.value() > it.key())
                m_fontsByName.insert(name, it.key());
        }
        m_fontsByNameFor = m_fonts.size();
    }
    return m_fontsByName.value(name.toCaseFolded(), -1);
}

QString RtfHeaderTables::fontName(int font) const
{
    const int index = font < 0 ? defaultFont : font;
    const auto found = m_fonts.constFind(index);
    return found == m_fonts.constEnd() ? QString() : found->name;
}

RtfHeaderTables::ListLevelDef RtfHeaderTables::listLevel(int listOverride, int level)
{
    if (m_listIdsFor != m_lists.size()) {
        m_listIds.clear();
        for (qsizetype i = m_lists.size() - 1; i >= 0; --i)
            m_listIds.insert(m_lists.at(i).id, int(i)); // the first of equal ids wins
        m_listIdsFor = m_lists.size();
    }
    ListLevelDef def;
    def.numberFormat = 23;
    const auto found = m_overrides.constFind(listOverride);
    if (found == m_overrides.constEnd())
        return def;
    const int index = m_listIds.value(found->listId, -1);
    if (index >= 0 && level >= 0 && level < m_lists.at(index).levels.size()) {
        def = m_lists.at(index).levels.at(level);
        if (found->starts[level] >= 0)
            def.start = found->starts[level];
    }
    return def;
}

void RtfHeaderTables::commitFont()
{
    if (m_fontNumber >= 0 && (m_fonts.size() < MaxFonts || m_fonts.contains(m_fontNumber))) {
        Font font = m_font;
        m_codePages.decode(m_fontNameBytes, fontTableCodePage(), m_fontName);
        font.name = m_fontName.trimmed();
        m_fonts.insert(m_fontNumber, font);
    }
    m_fontNumber = -1;
    m_font = Font();
    m_fontNameBytes.clear();
    m_fontName.clear();
}

int RtfHeaderTables::fontTableCodePage() const
{
    // The code page the entry being read writes its own name in.
    if (m_font.codePage > 0)
        return m_font.codePage;
    if (m_font.charset >= 0 && m_font.charset != 2)
        return RtfCodePages::codePageForCharset(m_font.charset, documentCodePage);
    return documentCodePage;
}

void RtfHeaderTables::commitColour()
{
    if (m_colours.size() < MaxColours) {
        if (m_red < 0 && m_green < 0 && m_blue < 0)
            m_colours.append(QColor()); // an empty entry: automatic
        else
            m_colours.append(QColor(std::max(0, m_red), std::max(0, m_green), std::max(0, m_blue)));
    }
    m_red = m_green = m_blue = -1;
}
