// The help document delivered with the program: it loads in the help window's own rich-text box
// and covers what a user needs to know.
#include "editor/RichTextBox.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QtTest>

namespace {
const QString helpPath = QStringLiteral(QUILLMARK_SOURCE_DIR "/data/help.rtf");
const QString readmePath = QStringLiteral(QUILLMARK_SOURCE_DIR "/README.md");

// The keys named in the first column of the README's "| Keys | Action |" table: "Ctrl+Z; Ctrl+Y or
// Ctrl+Shift+Z" names three.
QStringList readmeShortcuts()
{
    QFile readme(readmePath);
    if (!readme.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QStringList lines = QString::fromUtf8(readme.readAll()).split(QLatin1Char('\n'));
    const QRegularExpression header(QStringLiteral("^\\|\\s*Keys\\s*\\|\\s*Action\\s*\\|"));
    const QRegularExpression between(QStringLiteral("\\s*(?:,|;|\\bor\\b)\\s*"));
    QStringList keys;
    bool inTable = false;
    for (const QString &line : lines) {
        if (!inTable) {
            inTable = header.match(line).hasMatch();
            continue;
        }
        if (!line.startsWith(QLatin1Char('|')))
            break;
        const QString cell = line.section(QLatin1Char('|'), 1, 1).trimmed();
        if (cell.startsWith(QLatin1Char('-')))
            continue; // the line under the header
        for (const QString &key : cell.split(between, Qt::SkipEmptyParts))
            keys.append(key.trimmed());
    }
    return keys;
}
} // namespace

class HelpDocumentTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void coversEveryTopic_data();
    void coversEveryTopic();
    void readsAsFormattedText();
    void namesEveryShortcutOfTheReadme();

private:
    RichTextBox box;
    QString text;
};

void HelpDocumentTest::initTestCase()
{
    QVERIFY2(box.loadFile(helpPath), qPrintable(helpPath));
    text = box.toPlainText();
}

void HelpDocumentTest::coversEveryTopic_data()
{
    QTest::addColumn<QString>("phrase");
    for (const char *phrase : { "What Quillmark is for", "The project list and its buttons",
             "Add ToDo", "Remove ToDo", "View File", "Stored File", "Save ToDo",
             "Clear Saved Project List", "Saving and closing", "As you type", "Save Days",
             "Closing", "The day notes and the save marks", "not to a date", "Keyboard shortcuts",
             "F1", "Ctrl+S", "Ctrl+E", "Alt+D", "Where your files live", "application folder",
             "todolist", "monday.rtf", "sunday.rtf", "help.rtf", "Quillmark.conf",
             "Backing up and moving to another computer", "before you start it" })
        QTest::newRow(phrase) << QString::fromUtf8(phrase);
}

void HelpDocumentTest::coversEveryTopic()
{
    QFETCH(QString, phrase);
    QVERIFY2(text.contains(phrase), qPrintable(phrase));
}

void HelpDocumentTest::readsAsFormattedText()
{
    // No RTF source leaks into the text, and no symbol-font bullet shows as a private character.
    QVERIFY(!text.contains(QLatin1Char('{')));
    QVERIFY(!text.contains(QLatin1Char('}')));
    QVERIFY(!text.contains(QLatin1String("\\pn")));
    QVERIFY(!text.contains(QLatin1String("\\par")));
    for (const QChar c : text)
        QVERIFY2(c.unicode() < 0xe000 || c.unicode() > 0xf8ff,
            qPrintable(QString::number(c.unicode(), 16)));
    // Paths written with escaped backslashes come out with single ones.
    QVERIFY(text.contains(QLatin1String("HKEY_CURRENT_USER\\Software\\Quillmark\\Quillmark")));

    int bulletItems = 0;
    int boldHeadings = 0;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        if (block.textList())
            ++bulletItems;
        const QTextCharFormat format
            = block.begin().atEnd() ? QTextCharFormat() : block.begin().fragment().charFormat();
        if (format.font().bold() && !block.textList() && format.fontPointSize() >= 12)
            ++boldHeadings;
    }
    QVERIFY2(bulletItems >= 20, qPrintable(QString::number(bulletItems)));
    QVERIFY2(boldHeadings >= 8, qPrintable(QString::number(boldHeadings)));
    // The heading of the document is the first thing shown.
    QVERIFY(text.startsWith(QLatin1String("Quillmark Help")));
}

void HelpDocumentTest::namesEveryShortcutOfTheReadme()
{
    const QStringList keys = readmeShortcuts();
    QVERIFY2(keys.size() >= 10, qPrintable(readmePath));
    QStringList missing;
    for (const QString &key : keys) {
        // Ctrl+S must not be found inside Ctrl+Shift+Z.
        const QRegularExpression named(
            QStringLiteral("(?<![\\w+])%1(?![\\w+])").arg(QRegularExpression::escape(key)));
        if (!text.contains(named))
            missing.append(key);
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral("  "))));
}

QTEST_MAIN(HelpDocumentTest)
#include "tst_helpdocument.moc"
