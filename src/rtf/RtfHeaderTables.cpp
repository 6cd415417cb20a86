#include "rtf/RtfHeaderTables.h"

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
        if (k.target == RtfKeyword::List && !m_lists.isEmpty())
            m_lists.last().id = p;
        return;
    case RtfGroupState::ListLevel:
        if (k.target == RtfKeyword::Level && !m_lists.isEmpty() && !m_lists.last().levels.isEmpty())
            m_lists.last().levels.last().numberFormat = p;
        return;
    case RtfGroupState::ListOverride:
        if (k.target == RtfKeyword::List)
            m_overrideList = p;
        else if (k.para == &RtfParaProps::listOverride)
            m_overrideNumber = p;
        return;
    default:
        return;
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
            && !m_lists.last().levels.isEmpty() && m_levelText.size() > 1)
            m_lists.last().levels.last().bullet = m_levelText.at(1).unicode();
        return;
    case RtfGroupState::ListOverride:
        if (parent != RtfGroupState::ListOverride && m_overrideNumber > 0
            && m_overrides.size() < MaxLists)
            m_overrides.insert(m_overrideNumber, m_overrideList);
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
    const bool dingbats = f.name.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive)
        || f.name.startsWith(QLatin1String("Webdings"), Qt::CaseInsensitive);
    if (dingbats)
        return RtfCodePages::SymbolPrivate;
    if (f.charset == 2 || f.name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
        return RtfCodePages::Symbol;
    if (f.codePage > 0)
        return f.codePage;
    if (f.charset >= 0)
        return RtfCodePages::codePageForCharset(f.charset, documentCodePage);
    return documentCodePage;
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
    const int index = m_listIds.value(m_overrides.value(listOverride, -1), -1);
    if (index >= 0 && level < m_lists.at(index).levels.size())
        def = m_lists.at(index).levels.at(level);
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
