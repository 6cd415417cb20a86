#include "editor/SpellChecker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>
#include <hunspell/hunspell.hxx>

Q_LOGGING_CATEGORY(lcSpelling, "quillmark.editor.spelling", QtWarningMsg)

namespace {
QString affixPathOf(const QString &dictionaryPath)
{
    return dictionaryPath.left(dictionaryPath.size() - 4) + QStringLiteral(".aff");
}

bool isDictionary(const QString &dictionaryPath)
{
    return QFileInfo(dictionaryPath).isFile() && QFileInfo(affixPathOf(dictionaryPath)).isFile();
}

// Every dictionary in the folders, by name ("en_US"), the first folder winning.
QMap<QString, QString> installedDictionaries(const QStringList &folders)
{
    QMap<QString, QString> found;
    for (const QString &folder : folders) {
        const QFileInfoList files
            = QDir(folder).entryInfoList({ QStringLiteral("*.dic") }, QDir::Files | QDir::Readable);
        for (const QFileInfo &file : files) {
            if (!found.contains(file.completeBaseName()) && isDictionary(file.absoluteFilePath()))
                found.insert(file.completeBaseName(), file.absoluteFilePath());
        }
    }
    return found;
}

// The best dictionary of one language: the region asked for, the language's own name ("de"), then
// the first region in name order.
QString bestOfLanguage(const QMap<QString, QString> &dictionaries, const QString &language,
    const QString &preferredName)
{
    if (dictionaries.contains(preferredName))
        return dictionaries.value(preferredName);
    if (dictionaries.contains(language))
        return dictionaries.value(language);
    for (auto it = dictionaries.cbegin(); it != dictionaries.cend(); ++it) {
        if (it.key().startsWith(language + QLatin1Char('_'))
            || it.key().startsWith(language + QLatin1Char('-')))
            return it.value();
    }
    return QString();
}
} // namespace

SpellChecker::SpellChecker(
    const QString &dictionaryPath, const QString &personalWordsPath, QObject *parent)
    : QObject(parent)
    , m_dictionaryPath(dictionaryPath)
    , m_personalWordsPath(personalWordsPath)
{ }

SpellChecker::~SpellChecker() = default;

QStringList SpellChecker::dictionaryFolders()
{
    QStringList folders;
    // Hunspell's own variable first: a user who set it means it.
    const QString fromEnvironment = qEnvironmentVariable("DICPATH");
    if (!fromEnvironment.isEmpty())
        folders += fromEnvironment.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    folders += QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
        QStringLiteral("hunspell"), QStandardPaths::LocateDirectory);
    for (const char *folder :
        { "/usr/share/hunspell", "/usr/share/myspell", "/usr/share/myspell/dicts" }) {
        const QString path = QString::fromLatin1(folder);
        if (!folders.contains(path) && !folders.contains(path + QLatin1Char('/')))
            folders.append(path);
    }
    return folders;
}

QString SpellChecker::defaultPersonalWordsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Quillmark/words.txt");
}

QString SpellChecker::findDictionary(const QLocale &locale, const QStringList &folders)
{
    const QMap<QString, QString> dictionaries = installedDictionaries(folders);
    if (dictionaries.isEmpty())
        return QString();
    // "C" and "POSIX" locales name no language: English then.
    if (locale.language() != QLocale::C && locale.language() != QLocale::AnyLanguage) {
        const QString name = locale.name(); // "de_DE"
        const QString language = name.section(QLatin1Char('_'), 0, 0);
        const QString own = bestOfLanguage(dictionaries, language, name);
        if (!own.isEmpty())
            return own;
    }
    return bestOfLanguage(dictionaries, QStringLiteral("en"), QStringLiteral("en_US"));
}

SpellChecker *SpellChecker::forLocale(const QLocale &locale, QObject *parent,
    const QStringList &folders, const QString &personalWordsPath)
{
    const QString dictionary = findDictionary(locale, folders);
    if (dictionary.isEmpty()) {
        qCDebug(lcSpelling) << "No dictionary for" << locale.name() << "in" << folders;
        return nullptr;
    }
    return new SpellChecker(dictionary, personalWordsPath, parent);
}

bool SpellChecker::load() const
{
    if (m_loadTried)
        return m_hunspell != nullptr;
    m_loadTried = true;
    if (!isDictionary(m_dictionaryPath)) {
        qCDebug(lcSpelling) << "Dictionary missing:" << m_dictionaryPath;
        return false;
    }
    m_hunspell
        = std::make_unique<Hunspell>(QFile::encodeName(affixPathOf(m_dictionaryPath)).constData(),
            QFile::encodeName(m_dictionaryPath).constData());
    QString encoding = QString::fromStdString(m_hunspell->get_dict_encoding());
    // Hunspell spells ISO 8859 without the dash that the converters expect.
    if (encoding.startsWith(QLatin1String("ISO8859"), Qt::CaseInsensitive))
        encoding.replace(0, 7, QStringLiteral("ISO-8859"));
    m_encoder = QStringEncoder(encoding.toLatin1().constData());
    m_decoder = QStringDecoder(encoding.toLatin1().constData());
    if (!m_encoder.isValid() || !m_decoder.isValid()) {
        qCDebug(lcSpelling) << "Unknown dictionary encoding" << encoding << "- reading it as UTF-8";
        m_encoder = QStringEncoder(QStringConverter::Utf8);
        m_decoder = QStringDecoder(QStringConverter::Utf8);
    }

    QFile personal(m_personalWordsPath);
    if (!m_personalWordsPath.isEmpty() && personal.open(QIODevice::ReadOnly | QIODevice::Text)) {
        const QStringList words = QString::fromUtf8(personal.readAll()).split(QLatin1Char('\n'));
        for (const QString &word : words) {
            if (!word.trimmed().isEmpty())
                m_hunspell->add(encode(word.trimmed()));
        }
    }
    return true;
}

bool SpellChecker::isValid() const
{
    return load();
}

std::string SpellChecker::encode(const QString &text) const
{
    return QByteArray(m_encoder.encode(text)).toStdString();
}

QString SpellChecker::decode(const std::string &text) const
{
    return m_decoder.decode(QByteArrayView(text.data(), qsizetype(text.size())));
}

bool SpellChecker::isCheckable(const QString &word)
{
    bool hasLetter = false;
    for (const QChar c : word) {
        if (c.isDigit())
            return false;
        hasLetter = hasLetter || c.isLetter();
    }
    return hasLetter;
}

bool SpellChecker::isCorrect(const QString &word) const
{
    if (!isCheckable(word) || !load())
        return true;
    const auto known = m_known.constFind(word);
    if (known != m_known.cend())
        return known.value();
    const bool correct = m_hunspell->spell(encode(word));
    // The cache only speeds up the words of the notes; a runaway size would cost memory for
    // nothing.
    if (m_known.size() > 50000)
        m_known.clear();
    m_known.insert(word, correct);
    return correct;
}

QStringList SpellChecker::suggestions(const QString &word, int maximum) const
{
    QStringList result;
    if (!isCheckable(word) || !load())
        return result;
    for (const std::string &suggestion : m_hunspell->suggest(encode(word))) {
        if (result.size() >= maximum)
            break;
        result.append(decode(suggestion));
    }
    return result;
}

void SpellChecker::addWord(const QString &word)
{
    const QString trimmed = word.trimmed();
    if (trimmed.isEmpty() || !load())
        return;
    m_hunspell->add(encode(trimmed));
    m_known.clear();
    appendToPersonalList(trimmed);
    emit wordsChanged();
}

void SpellChecker::appendToPersonalList(const QString &word)
{
    if (m_personalWordsPath.isEmpty())
        return;
    QByteArray contents;
    QFile existing(m_personalWordsPath);
    if (existing.open(QIODevice::ReadOnly))
        contents = existing.readAll();
    existing.close();
    if (!contents.isEmpty() && !contents.endsWith('\n'))
        contents.append('\n');
    contents.append(word.toUtf8()).append('\n');
    QDir().mkpath(QFileInfo(m_personalWordsPath).absolutePath());
    // The word list is the user's: a failed write must leave the old list whole.
    QSaveFile file(m_personalWordsPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size()
        || !file.commit())
        qCDebug(lcSpelling) << "Could not write the personal word list" << m_personalWordsPath;
}
