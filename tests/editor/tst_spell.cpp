// Spelling: the checker on a small dictionary of our own, the choice of dictionary by language, the
// personal word list, and the underlines in a note box, which show misspelt words but never reach a
// file and never count as an edit.
#include "editor/NoteContextMenu.h"
#include "editor/RichTextBox.h"
#include "editor/SpellChecker.h"
#include "editor/SpellHighlighter.h"
#include "mainwindow/MainWindow.h"
#include "projects/ProjectFlags.h"
#include "support/TestApp.h"

#include <QAbstractButton>
#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {
const QString testDictionary = QStringLiteral(QUILLMARK_TEST_DATA "/spell/test.dic");

std::unique_ptr<RichTextBox> makeBox(const QString &text)
{
    auto box = std::make_unique<RichTextBox>();
    box->setFontSize(10);
    box->setText(text);
    box->resize(420, 220);
    box->show();
    return box;
}

QStringList underlined(const RichTextBox &box)
{
    QStringList words;
    for (const QTextCursor &word : box.spellHighlighter()->misspellings())
        words << word.selectedText();
    return words;
}

// A dictionary folder holding copies of the test dictionary under the given names.
void installDictionaries(const QString &folder, const QStringList &names)
{
    QDir().mkpath(folder);
    for (const QString &name : names) {
        QFile::copy(testDictionary, folder + "/" + name + ".dic");
        QFile::copy(
            QStringLiteral(QUILLMARK_TEST_DATA "/spell/test.aff"), folder + "/" + name + ".aff");
    }
}
} // namespace

class SpellTest : public QObject
{
    Q_OBJECT
private slots:
    void checkerKnowsItsDictionary();
    void missingDictionaryFlagsNothing();
    void dictionaryFollowsTheLanguage_data();
    void dictionaryFollowsTheLanguage();
    void noDictionaryMeansNoChecker();
    void addedWordsLastAcrossRuns();

    void misspeltWordsAreUnderlined();
    void addressesAndLinksAreNotWords();
    void theWordBeingTypedWaitsForTheCaretToLeave();
    void readOnlyTextIsNotChecked();
    void longNoteIsCheckedAroundTheView();
    void underlinesFollowALoadedNote();

    void menuOffersSuggestionsAndAddToDictionary();
    void addingAWordClearsItInEveryBox();

    void fileIsTheSameWithAndWithoutSpelling();
    void underlinesChangeNothingInTheProjectArea();
};

void SpellTest::checkerKnowsItsDictionary()
{
    SpellChecker checker(testDictionary);
    QVERIFY(checker.isValid());
    QVERIFY(checker.isCorrect("quick"));
    QVERIFY(checker.isCorrect("notes")); // by the plural rule
    QVERIFY(checker.isCorrect("Monday"));
    QVERIFY(checker.isCorrect("Quick")); // a capital at the start of a sentence
    QVERIFY(!checker.isCorrect("quikc"));
    QVERIFY(!checker.isCorrect("monday")); // a name keeps its capital
    QVERIFY(!checker.isCorrect("planz"));
    // Numbers, and words with digits, are not checked.
    QVERIFY(checker.isCorrect("2026"));
    QVERIFY(checker.isCorrect("B52s"));
    QVERIFY(checker.isCorrect("--"));
    QVERIFY(checker.suggestions("quikc").contains("quick"));
    QVERIFY(checker.suggestions("weeks").isEmpty() || checker.isCorrect("weeks"));
    QVERIFY(checker.suggestions("nots").contains("note")
        || checker.suggestions("nots").contains("notes"));
}

void SpellTest::missingDictionaryFlagsNothing()
{
    SpellChecker checker(QStringLiteral("/nonexistent/xx_XX.dic"));
    QVERIFY(!checker.isValid());
    QVERIFY(checker.isCorrect("qwrtzp"));
    QVERIFY(checker.suggestions("qwrtzp").isEmpty());
    checker.addWord("qwrtzp"); // nothing to add to, nothing breaks
    auto box = makeBox("qwrtzp zzxq");
    box->setSpellChecker(&checker);
    QVERIFY(underlined(*box).isEmpty());
}

void SpellTest::dictionaryFollowsTheLanguage_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("chosen");
    const QStringList many { "de_DE", "de_AT", "en_GB", "en_US", "fr" };
    QTest::newRow("own region") << "de_DE" << many << "de_DE";
    QTest::newRow("other region of the language") << "de_CH" << many << "de_AT";
    QTest::newRow("language without region") << "fr_CA" << many << "fr";
    QTest::newRow("unknown language: English") << "nl_NL" << many << "en_US";
    QTest::newRow("C locale: English") << "C" << many << "en_US";
    QTest::newRow("British English") << "en_GB" << many << "en_GB";
    QTest::newRow("English of another region") << "en_AU" << many << "en_GB";
    QTest::newRow("only British English") << "nl_NL" << QStringList { "en_GB", "de_DE" } << "en_GB";
    QTest::newRow("no English") << "nl_NL" << QStringList { "de_DE" } << "";
}

void SpellTest::dictionaryFollowsTheLanguage()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, installed);
    QFETCH(QString, chosen);
    QTemporaryDir dir;
    installDictionaries(dir.path() + "/first", installed);
    // A dictionary without its affix file is no dictionary.
    QFile half(dir.path() + "/first/nl_NL.dic");
    QVERIFY(half.open(QIODevice::WriteOnly));
    half.close();
    const QString found = SpellChecker::findDictionary(QLocale(locale), { dir.path() + "/first" });
    QCOMPARE(QFileInfo(found).completeBaseName(), chosen);
    if (!chosen.isEmpty())
        QCOMPARE(found, dir.path() + "/first/" + chosen + ".dic");
}

void SpellTest::noDictionaryMeansNoChecker()
{
    QTemporaryDir dir;
    QObject owner;
    QCOMPARE(
        SpellChecker::forLocale(QLocale("en_US"), &owner, { dir.path(), dir.path() + "/missing" }),
        nullptr);
    // The first folder that has a language wins.
    installDictionaries(dir.path() + "/user", { "en_US" });
    installDictionaries(dir.path() + "/system", { "en_US" });
    SpellChecker *checker = SpellChecker::forLocale(
        QLocale("en_US"), &owner, { dir.path() + "/user", dir.path() + "/system" });
    QVERIFY(checker);
    QCOMPARE(checker->parent(), &owner);
    QCOMPARE(checker->dictionaryPath(), dir.path() + "/user/en_US.dic");
}

void SpellTest::addedWordsLastAcrossRuns()
{
    QTemporaryDir dir;
    const QString personal = dir.path() + "/Quillmark/words.txt";
    {
        SpellChecker checker(testDictionary, personal);
        QSignalSpy changed(&checker, &SpellChecker::wordsChanged);
        QVERIFY(!checker.isCorrect("Quillmark"));
        checker.addWord("Quillmark");
        checker.addWord(QString::fromUtf8("Zürich"));
        QCOMPARE(changed.count(), 2);
        QVERIFY(checker.isCorrect("Quillmark"));
    }
    QFile file(personal);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), QString::fromUtf8("Quillmark\nZürich\n"));
    SpellChecker again(testDictionary, personal);
    QVERIFY(again.isCorrect("Quillmark"));
    QVERIFY(again.isCorrect(QString::fromUtf8("Zürich")));
    QVERIFY(!again.isCorrect("Quilmark"));
}

void SpellTest::misspeltWordsAreUnderlined()
{
    SpellChecker checker(testDictionary);
    auto box
        = makeBox("the quikc brown fox jumsp over the lazy dog.\nMonday's plan: meetings, notes");
    box->setSpellChecker(&checker);
    QCOMPARE(underlined(*box), (QStringList { "quikc", "jumsp", "Monday's" }));
    const QList<QTextEdit::ExtraSelection> shown = box->extraSelections();
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown.first().format.underlineStyle(), QTextCharFormat::SpellCheckUnderline);
    QCOMPARE(shown.first().cursor.selectedText(), QStringLiteral("quikc"));

    // Fixing a word takes its underline away once the check comes round.
    QTextCursor fix = box->spellHighlighter()->misspellings().first();
    fix.insertText("quick");
    QTRY_COMPARE(underlined(*box), (QStringList { "jumsp", "Monday's" }));
    QCOMPARE(box->extraSelections().size(), 2);
}

void SpellTest::addressesAndLinksAreNotWords()
{
    SpellChecker checker(testDictionary);
    auto box = makeBox(QString());
    box->setHtml(
        "<p>mail bbbob@exmple.org or www.exmple.org or https://exmple.org/pth or C:\\foldr\\fyle "
        "or <a href=\"https://example.org\">lnkk txt</a> or zzzx</p>");
    box->setSpellChecker(&checker);
    QCOMPARE(underlined(*box), (QStringList { "mail", "or", "or", "or", "or", "or", "zzzx" }));
}

void SpellTest::theWordBeingTypedWaitsForTheCaretToLeave()
{
    SpellChecker checker(testDictionary);
    auto box = makeBox(QString());
    QApplication::setActiveWindow(box.get());
    QVERIFY(QTest::qWaitForWindowActive(box.get()));
    box->setFocus();
    box->setSpellChecker(&checker);
    QTest::keyClicks(box.get(), "the quikc");
    box->spellHighlighter()->recheckNow();
    QVERIFY(underlined(*box).isEmpty());
    QTest::keyClicks(box.get(), " ");
    QTRY_COMPARE(underlined(*box), QStringList { "quikc" });
    QTest::keyClick(box.get(), Qt::Key_Backspace);
    box->spellHighlighter()->recheckNow();
    QVERIFY(underlined(*box).isEmpty());
    box->clearFocus();
    QTRY_COMPARE(underlined(*box), QStringList { "quikc" });
}

void SpellTest::readOnlyTextIsNotChecked()
{
    SpellChecker checker(testDictionary);
    auto box = makeBox("qwrtzp");
    box->setReadOnly(true);
    box->setSpellChecker(&checker);
    QVERIFY(underlined(*box).isEmpty());
    QVERIFY(box->extraSelections().isEmpty());
}

void SpellTest::longNoteIsCheckedAroundTheView()
{
    SpellChecker checker(testDictionary);
    QStringList lines { "firstwrong the dog" };
    for (int i = 0; i < 3000; ++i)
        lines << "the quick brown fox jumps over the lazy dog";
    lines << "lastwrong the dog";
    auto box = makeBox(lines.join('\n'));
    box->setSpellChecker(&checker);
    QCOMPARE(underlined(*box), QStringList { "firstwrong" });
    box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
    QTRY_COMPARE(underlined(*box), QStringList { "lastwrong" });
}

void SpellTest::underlinesFollowALoadedNote()
{
    SpellChecker checker(testDictionary);
    auto box = makeBox("the quikc dog");
    box->setSpellChecker(&checker);
    QVERIFY(box->loadRtf(TestApp::rtfWithText("the jumsp dog")));
    QTRY_COMPARE(underlined(*box), QStringList { "jumsp" });
    // The loaded note is a document of its own: what is typed into it is checked too.
    QTextCursor end(box->document());
    end.movePosition(QTextCursor::End);
    end.insertText(" zzzx the");
    QTRY_COMPARE(underlined(*box), (QStringList { "jumsp", "zzzx" }));
    QCOMPARE(box->extraSelections().size(), 2);
}

void SpellTest::menuOffersSuggestionsAndAddToDictionary()
{
    SpellChecker checker(testDictionary);
    auto box = makeBox("the quikc fox");
    box->setSpellChecker(&checker);
    QSignalSpy changes(box.get(), &RichTextBox::Change);
    QTextCursor word = box->spellHighlighter()->misspellings().first();

    std::unique_ptr<QMenu> menu(
        NoteContextMenu::create(box.get(), box->cursorRect(word).center() - QPoint(8, 0)));
    const QList<QAction *> actions = menu->actions();
    QVERIFY(actions.size() > 3);
    QCOMPARE(actions.first()->text(), QStringLiteral("quick"));
    int addIndex = -1;
    for (int i = 0; i < actions.size(); ++i) {
        if (actions[i]->text() == QStringLiteral("Add to dictionary"))
            addIndex = i;
    }
    QVERIFY(addIndex > 0);
    QVERIFY(actions[addIndex - 1]->isSeparator());
    QCOMPARE(actions[addIndex + 1]->isSeparator(), true);
    QCOMPARE(actions[addIndex + 2]->text().remove('&'), QStringLiteral("Undo"));

    actions.first()->trigger();
    QCOMPARE(box->toPlainText(), QStringLiteral("the quick fox"));
    QCOMPARE(changes.count(), 1); // a replacement is an edit
    QTRY_VERIFY(underlined(*box).isEmpty());

    // A click on a correct word offers no spelling entries.
    std::unique_ptr<QMenu> plain(NoteContextMenu::create(box.get(), QPoint(4, 4)));
    QCOMPARE(plain->actions().first()->text().remove('&'), QStringLiteral("Undo"));
}

void SpellTest::addingAWordClearsItInEveryBox()
{
    QTemporaryDir dir;
    SpellChecker checker(testDictionary, dir.path() + "/words.txt");
    auto first = makeBox("the zorblax fox");
    auto second = makeBox("zorblax again");
    first->setSpellChecker(&checker);
    second->setSpellChecker(&checker);
    QCOMPARE(underlined(*second), (QStringList { "zorblax", "again" }));
    const QTextCursor word = first->spellHighlighter()->misspellings().first();
    std::unique_ptr<QMenu> menu(
        NoteContextMenu::create(first.get(), first->cursorRect(word).center() - QPoint(8, 0)));
    QAction *add = menu->findChild<QAction *>("actAddToDictionary");
    QVERIFY(add);
    QSignalSpy changes(first.get(), &RichTextBox::Change);
    add->trigger();
    QVERIFY(underlined(*first).isEmpty());
    QCOMPARE(underlined(*second), QStringList { "again" });
    QCOMPARE(changes.count(), 0);
    QVERIFY(QFile::exists(dir.path() + "/words.txt"));
}

void SpellTest::fileIsTheSameWithAndWithoutSpelling()
{
    QByteArray written[2];
    for (int withSpelling = 0; withSpelling < 2; ++withSpelling) {
        TestApp app;
        MainWindow &window = app.open();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        SpellChecker checker(testDictionary);
        for (RichTextBox *box : window.findChildren<RichTextBox *>())
            box->setSpellChecker(withSpelling ? &checker : nullptr);
        auto *box = app.find<RichTextBox>("rtfWednesday");
        box->setFocus();
        QTest::keyClicks(box, "the quikc brown fox jumsp over the lazy dgo ");
        if (withSpelling)
            QTRY_COMPARE(underlined(*box).size(), 3);
        else
            QVERIFY(box->extraSelections().isEmpty());
        QTest::keyClick(box, Qt::Key_S, Qt::ControlModifier);
        written[withSpelling] = app.readFile(app.dayPath("wednesday.rtf"));
    }
    QVERIFY(written[0].contains("quikc"));
    QCOMPARE(written[1], written[0]);
    QVERIFY(!written[1].contains("\\ulwave"));
}

void SpellTest::underlinesChangeNothingInTheProjectArea()
{
    TestApp app;
    app.writeNote("Plan.rtf", "the quikc fox and the lazzy dog");
    app.open();
    app.list()->setCurrentRow(0);
    RichTextBox *editor = app.editor();
    QCOMPARE(editor->toPlainText(), QStringLiteral("the quikc fox and the lazzy dog"));
    auto *save = app.find<QAbstractButton>("cmdSaveNote");
    const bool saveEnabled = save->isEnabled();
    const QByteArray before = app.readFile(app.notePath("Plan.rtf"));
    const int keyCount = app.window().projectFlags().intKeyCount;
    const bool unsaved = app.window().projectFlags().blnUnsavedItem;
    QSignalSpy changes(editor, &RichTextBox::Change);
    QSignalSpy keyUps(editor, &RichTextBox::KeyUp);

    SpellChecker checker(testDictionary);
    editor->setSpellChecker(&checker);
    QCOMPARE(underlined(*editor), (QStringList { "quikc", "and", "lazzy" }));
    editor->spellHighlighter()->scheduleRecheck();
    QTest::qWait(0);
    checker.addWord("and");
    QCOMPARE(underlined(*editor), (QStringList { "quikc", "lazzy" }));

    QCOMPARE(changes.count(), 0);
    QCOMPARE(keyUps.count(), 0);
    QCOMPARE(save->isEnabled(), saveEnabled);
    QCOMPARE(app.window().projectFlags().intKeyCount, keyCount);
    QCOMPARE(app.window().projectFlags().blnUnsavedItem, unsaved);
    QCOMPARE(app.readFile(app.notePath("Plan.rtf")), before);
}

QTEST_MAIN(SpellTest)
#include "tst_spell.moc"
