// Spelling of single words through Hunspell: the dictionary that matches the user's language, and a
// personal word list that "Add to dictionary" grows.
#pragma once

#include <QHash>
#include <QLocale>
#include <QObject>
#include <QStringConverter>
#include <memory>

class Hunspell;

class SpellChecker : public QObject
{
    Q_OBJECT
public:
    // A checker on the dictionary dictionaryPath (a ".dic" file with its ".aff" beside it). Words
    // added are kept in personalWordsPath, one a line; an empty path keeps them for this run only.
    // The dictionary is read on the first question, so creating a checker costs nothing.
    explicit SpellChecker(const QString &dictionaryPath,
        const QString &personalWordsPath = QString(), QObject *parent = nullptr);
    ~SpellChecker() override;

    // The checker for the user's language, or null when no dictionary is installed (spelling is
    // then simply off). The language's own dictionary comes first, then another region of the same
    // language, then English. The checker belongs to parent.
    static SpellChecker *forLocale(const QLocale &locale, QObject *parent,
        const QStringList &folders = dictionaryFolders(),
        const QString &personalWordsPath = defaultPersonalWordsPath());
    // The ".dic" file forLocale would choose, or an empty text.
    static QString findDictionary(const QLocale &locale, const QStringList &folders);
    // Where Hunspell dictionaries are installed on this system and for this user.
    static QStringList dictionaryFolders();
    static QString defaultPersonalWordsPath();

    // False when the dictionary could not be read; such a checker finds every word correct.
    bool isValid() const;
    QString dictionaryPath() const { return m_dictionaryPath; }

    bool isCorrect(const QString &word) const;
    QStringList suggestions(const QString &word, int maximum = 7) const;
    // Accepts the word from now on, in this run and the next ones.
    void addWord(const QString &word);

    // Whether text is something to check at all: a word with at least one letter and no digits.
    static bool isCheckable(const QString &word);

signals:
    // The set of accepted words grew: what was flagged may not be any more.
    void wordsChanged();

private:
    bool load() const;
    std::string encode(const QString &text) const;
    QString decode(const std::string &text) const;
    void appendToPersonalList(const QString &word);

    QString m_dictionaryPath;
    QString m_personalWordsPath;
    mutable std::unique_ptr<Hunspell> m_hunspell;
    mutable bool m_loadTried = false;
    mutable QStringEncoder m_encoder;
    mutable QStringDecoder m_decoder;
    mutable QHash<QString, bool> m_known;
};
