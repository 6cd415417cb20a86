// The project list's stored forms: titles from note file names, the stored order, note file names,
// and the cleaning and checking of typed titles. No window is needed.
#include "projects/ProjectStore.h"

#include <QtTest>

class ProjectStoreTest : public QObject
{
    Q_OBJECT
private slots:
    void titleFromFileName_data();
    void titleFromFileName();
    void storedOrderReadsBack_data();
    void storedOrderReadsBack();
    void orderOfTitles();
    void noteFileNameAppendsRtfOnce();
    void titlesWithoutNoteFile();
    void notePathStaysInNoteFolder();
    void cleaningRemovesEveryForbiddenCharacter();
    void typedTitleChecks_data();
    void typedTitleChecks();
    void controlCharactersLeaveTypedTitles_data();
    void controlCharactersLeaveTypedTitles();
};

void ProjectStoreTest::titleFromFileName_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("listed");
    QTest::addColumn<QString>("title");
    QTest::newRow("plain") << "Plan.rtf" << true << "Plan";
    QTest::newRow("first occurrence") << "plan.rtf.bak" << true << "plan";
    QTest::newRow("twice") << "a.rtf.rtf" << true << "a";
    QTest::newRow("upper case") << "Plan.RTF" << false << "";
    QTest::newRow("mixed case") << "Plan.Rtf" << false << "";
    QTest::newRow("no extension") << "readme.txt" << false << "";
    QTest::newRow("only extension") << ".rtf" << true << "";
    QTest::newRow("inside name") << "my.rtfnotes" << true << "my";
    QTest::newRow("spaces kept") << " two  words .rtf" << true << " two  words ";
    QTest::newRow("colon") << "a:b.rtf" << false << "";
    QTest::newRow("non-ASCII") << "Café ☕.rtf" << true << "Café ☕";
}

void ProjectStoreTest::titleFromFileName()
{
    QFETCH(QString, fileName);
    QFETCH(bool, listed);
    QFETCH(QString, title);
    const std::optional<QString> got = ProjectStore::titleFromFileName(fileName);
    QCOMPARE(got.has_value(), listed);
    if (listed)
        QCOMPARE(*got, title);
}

void ProjectStoreTest::storedOrderReadsBack_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("default") << "na:" << false << QStringList();
    QTest::newRow("marker") << "na" << false << QStringList();
    QTest::newRow("empty") << "" << false << QStringList();
    QTest::newRow("marker first") << "na:Other" << false << QStringList();
    QTest::newRow("upper-case marker") << "NA:Other" << true << QStringList { "NA", "Other" };
    QTest::newRow("padded marker") << " na" << true << QStringList { " na" };
    QTest::newRow("marker later") << "Other:na" << true << QStringList { "Other", "na" };
    QTest::newRow("one") << "Notes" << true << QStringList { "Notes" };
    QTest::newRow("two") << "Beta:Alpha" << true << QStringList { "Beta", "Alpha" };
    QTest::newRow("empty middle") << "A::B" << true << QStringList { "A", "", "B" };
    QTest::newRow("trailing") << "A:" << true << QStringList { "A", "" };
    QTest::newRow("leading") << ":A" << true << QStringList { "", "A" };
    QTest::newRow("only separator") << ":" << true << QStringList { "", "" };
}

void ProjectStoreTest::storedOrderReadsBack()
{
    QFETCH(QString, order);
    QFETCH(bool, stored);
    QFETCH(QStringList, titles);
    const std::optional<QStringList> got = ProjectStore::titlesFromOrder(order);
    QCOMPARE(got.has_value(), stored);
    if (!stored)
        return;
    QCOMPARE(*got, titles);
    // Whatever was read is stored back unchanged.
    QCOMPARE(ProjectStore::orderFromTitles(*got), order);
}

void ProjectStoreTest::orderOfTitles()
{
    QCOMPARE(ProjectStore::orderFromTitles({}), QStringLiteral("na"));
    QCOMPARE(ProjectStore::orderFromTitles({ "Alpha", "Beta", "Gamma" }),
        QStringLiteral("Alpha:Beta:Gamma"));
    QCOMPARE(ProjectStore::orderFromTitles({ "Notes" }), QStringLiteral("Notes"));
    // One empty title joins to nothing: stored as a list of none.
    QCOMPARE(ProjectStore::orderFromTitles({ "" }), QStringLiteral("na"));
}

void ProjectStoreTest::noteFileNameAppendsRtfOnce()
{
    QCOMPARE(ProjectStore::noteFileName("Plan"), QStringLiteral("Plan.rtf"));
    QCOMPARE(ProjectStore::noteFileName("Plan.rtf"), QStringLiteral("Plan.rtf"));
    QCOMPARE(ProjectStore::noteFileName("Plan.RTF"), QStringLiteral("Plan.RTF.rtf"));
    QCOMPARE(ProjectStore::noteFileName("Plan.rtf "), QStringLiteral("Plan.rtf .rtf"));
}

void ProjectStoreTest::titlesWithoutNoteFile()
{
    QVERIFY(!ProjectStore::hasNoteFile(""));
    QVERIFY(!ProjectStore::hasNoteFile("."));
    QVERIFY(!ProjectStore::hasNoteFile(".."));
    QVERIFY(!ProjectStore::hasNoteFile("../secret"));
    QVERIFY(!ProjectStore::hasNoteFile("sub/plan"));
    QVERIFY(!ProjectStore::hasNoteFile("..\\plan"));
    QVERIFY(!ProjectStore::hasNoteFile("/etc/passwd"));
    QVERIFY(!ProjectStore::hasNoteFile(QStringLiteral("a") + QChar(0) + QStringLiteral("b")));
    QVERIFY(ProjectStore::hasNoteFile("..."));
    QVERIFY(ProjectStore::hasNoteFile(".hidden"));
    QVERIFY(ProjectStore::hasNoteFile(" "));
    QVERIFY(ProjectStore::hasNoteFile("na"));
}

void ProjectStoreTest::notePathStaysInNoteFolder()
{
    const ProjectStore store("/apps/quillmark");
    QCOMPARE(store.notesFolder(), QStringLiteral("/apps/quillmark/todolist"));
    QCOMPARE(store.notePath("Plan"), QStringLiteral("/apps/quillmark/todolist/Plan.rtf"));
    QCOMPARE(store.notePath("Plan.rtf"), QStringLiteral("/apps/quillmark/todolist/Plan.rtf"));
    QCOMPARE(store.notePath(".."), QString());
    QCOMPARE(store.notePath("../../etc/x"), QString());
    QCOMPARE(store.notePath(""), QString());
}

void ProjectStoreTest::cleaningRemovesEveryForbiddenCharacter()
{
    const QString forbidden = QStringLiteral(";:'\"|\\]}[{`~!@#$%^&*()-=+,<.>/?");
    QCOMPARE(forbidden.size(), 31);
    for (const QChar c : forbidden)
        QCOMPARE(ProjectStore::cleanTitle(QStringLiteral("a") + c + QStringLiteral("b") + c),
            QStringLiteral("ab"));
    QCOMPARE(ProjectStore::cleanTitle(forbidden), QString());
    QCOMPARE(ProjectStore::cleanTitle("Q&A: plan"), QStringLiteral("QA plan"));
    // Everything else stays, spaces at either end included.
    const QString kept = QStringLiteral("  Ab_9 é日本 ");
    QCOMPARE(ProjectStore::cleanTitle(kept), kept);
}

void ProjectStoreTest::typedTitleChecks_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("title");
    const int none = int(ProjectStore::TitleProblem::None);
    const int tooShort = int(ProjectStore::TitleProblem::TooShort);
    const int tooLong = int(ProjectStore::TitleProblem::TooLong);
    QTest::newRow("cancelled") << "" << tooShort << "";
    QTest::newRow("one character") << "x" << tooShort << "";
    QTest::newRow("zero") << "0" << tooShort << "";
    QTest::newRow("suggested text") << "Title" << tooShort << "";
    QTest::newRow("lower-case title") << "title" << none << "title";
    QTest::newRow("two characters") << "AB" << none << "AB";
    QTest::newRow("one character outside the BMP") << "😀" << tooShort << "";
    QTest::newRow("two characters outside the BMP") << "😀😀" << none << "😀😀";
    QTest::newRow("nothing left") << "!!" << tooShort << "";
    QTest::newRow("spaces") << "  " << tooShort << "";
    QTest::newRow("spaces around") << " a " << none << " a ";
    QTest::newRow("checked before cleaning") << "T!" << none << "T";
    QTest::newRow("becomes Title") << "Title!" << none << "Title";
    QTest::newRow("marker") << "na" << tooShort << "";
    QTest::newRow("marker after cleaning") << "n@a" << tooShort << "";
    QTest::newRow("upper-case marker") << "NA" << none << "NA";
    QTest::newRow("colon and ampersand") << "Q&A: plan" << none << "QA plan";
    QTest::newRow("longest") << QString(251, 'x') << none << QString(251, 'x');
    QTest::newRow("one byte too long") << QString(252, 'x') << tooLong << "";
    QTest::newRow("long after cleaning is fine")
        << QString(251, 'x') + "!!!" << none << QString(251, 'x');
    // Two bytes of UTF-8 each: 126 * 2 + 4 = 256.
    QTest::newRow("too long in UTF-8") << QString(126, QChar(0xe9)) << tooLong << "";
    QTest::newRow("fits in UTF-8")
        << QString(125, QChar(0xe9)) << none << QString(125, QChar(0xe9));
}

void ProjectStoreTest::typedTitleChecks()
{
    QFETCH(QString, typed);
    QFETCH(int, problem);
    QFETCH(QString, title);
    QString got = QStringLiteral("untouched");
    QCOMPARE(int(ProjectStore::checkTypedTitle(typed, &got)), problem);
    QCOMPARE(got,
        problem == int(ProjectStore::TitleProblem::None) ? title : QStringLiteral("untouched"));
}

void ProjectStoreTest::controlCharactersLeaveTypedTitles_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("title"); // empty: refused as too short
    QTest::newRow("line break") << "Plan\nnext"
                                << "Plannext";
    QTest::newRow("carriage return and line feed") << "Plan\r\n"
                                                   << "Plan";
    QTest::newRow("tab kept spaces") << " a\tb "
                                     << " ab ";
    QTest::newRow("escape") << QStringLiteral("a\x1b[0mb") << "a0mb";
    QTest::newRow("delete") << QStringLiteral("ab\x7f") << "ab";
    QTest::newRow("next line (C1)") << QStringLiteral("a\u0085b") << "ab";
    QTest::newRow("only control characters") << "\n\t\r"
                                             << "";
    QTest::newRow("spaces and a tab") << " \t "
                                      << "";
    QTest::newRow("marker with a line break") << "n\na"
                                              << "";
}

void ProjectStoreTest::controlCharactersLeaveTypedTitles()
{
    QFETCH(QString, typed);
    QFETCH(QString, title);
    QString got;
    const auto expected
        = title.isEmpty() ? ProjectStore::TitleProblem::TooShort : ProjectStore::TitleProblem::None;
    QCOMPARE(int(ProjectStore::checkTypedTitle(typed, &got)), int(expected));
    QCOMPARE(got, title);
    if (!title.isEmpty())
        QVERIFY(ProjectStore::titleFromFileName(ProjectStore::noteFileName(got)).has_value());
}

QTEST_APPLESS_MAIN(ProjectStoreTest)
#include "tst_projectstore.moc"
