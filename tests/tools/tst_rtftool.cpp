// rtftool run as users and scripts run it: its four commands, standard input, exit codes and the
// one-line messages on standard error.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

QString toolPath()
{
    return QStringLiteral(QUILLMARK_RTFTOOL);
}

QString sample()
{
    return QStringLiteral(QUILLMARK_TEST_DATA "/rtfwriter/tool-sample.rtf");
}

Run runTool(const QStringList &arguments, const QByteArray &input = QByteArray(),
    const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(toolPath(), arguments);
    if (!process.waitForStarted())
        return Run();
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    Run run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class RtfToolTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void textPrintsParagraphsLinesAndCells();
    void standardInputIsReadForADash();
    void htmlIsQtsHtmlOfTheDocument();
    void rtfWritesOurOwnStableRtf();
    void fromHtmlWritesRtf();
    void unreadableOrNonRtfInputFailsWithOneLine_data();
    void unreadableOrNonRtfInputFailsWithOneLine();
    void usageErrors_data();
    void usageErrors();
    void runsWithoutADisplay();
    void helpAndVersionGoToStandardOutput_data();
    void helpAndVersionGoToStandardOutput();
};

void RtfToolTest::initTestCase()
{
    QVERIFY2(QFileInfo(toolPath()).isExecutable(), qPrintable(toolPath()));
}

void RtfToolTest::textPrintsParagraphsLinesAndCells()
{
    const Run run = runTool({ QStringLiteral("text"), sample() });
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(QString::fromUtf8(run.out),
        QStringLiteral("Caf\u00e9 bold red\nsecond line\nbullet item\nA1\nB1\nB1 second\n"
                       "Greek \u03b1\u03b2 and link\n"));
}

void RtfToolTest::standardInputIsReadForADash()
{
    const Run run = runTool({ QStringLiteral("text"), QStringLiteral("-") }, fileBytes(sample()));
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.startsWith("Caf\xc3\xa9 bold red\n"));
    const Run empty = runTool({ QStringLiteral("text"), QStringLiteral("-") }, "{\\rtf1}");
    QCOMPARE(empty.exitCode, 0);
    QCOMPARE(empty.out, QByteArray("\n"));
}

void RtfToolTest::htmlIsQtsHtmlOfTheDocument()
{
    const Run run = runTool({ QStringLiteral("html"), sample() });
    QCOMPARE(run.exitCode, 0);
    const QString html = QString::fromUtf8(run.out);
    QVERIFY(html.startsWith(QStringLiteral("<!DOCTYPE HTML")));
    QVERIFY(html.contains(QStringLiteral("Caf\u00e9")));
    QVERIFY(html.contains(QStringLiteral("font-weight:700")));
    QVERIFY(html.contains(QStringLiteral("<a href=\"https://example.com\">")));
    QVERIFY(html.contains(QStringLiteral("<table")));
}

void RtfToolTest::rtfWritesOurOwnStableRtf()
{
    const Run first = runTool({ QStringLiteral("rtf"), sample() });
    QCOMPARE(first.exitCode, 0);
    QVERIFY(first.out.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
    QVERIFY(first.out.contains("{\\*\\generator Quillmark;}"));
    QVERIFY(first.out.contains("Caf\\u233\\'e9"));
    QVERIFY(first.out.contains("{\\field{\\*\\fldinst{HYPERLINK \"https://example.com\"}}"));
    // Our own RTF read back and written again gives the same bytes.
    const Run second = runTool({ QStringLiteral("rtf"), QStringLiteral("-") }, first.out);
    QCOMPARE(second.exitCode, 0);
    QCOMPARE(second.out, first.out);
    const Run text = runTool({ QStringLiteral("text"), QStringLiteral("-") }, first.out);
    QCOMPARE(text.out, runTool({ QStringLiteral("text"), sample() }).out);
}

void RtfToolTest::fromHtmlWritesRtf()
{
    const QByteArray html
        = "<html><body><p>Plain <b>bold</b> <a href=\"https://q.example/\">link</a>"
          " \xe2\x82\xac</p><ul><li>one</li><li>two</li></ul>"
          "<table><tr><td>c1</td><td>c2</td></tr></table></body></html>";
    const Run run = runTool({ QStringLiteral("from-html"), QStringLiteral("-") }, html);
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.startsWith("{\\rtf1"));
    QVERIFY(run.out.contains("\\b bold\\b0"));
    QVERIFY(run.out.contains("HYPERLINK \"https://q.example/\""));
    QVERIFY(run.out.contains("\\u8364\\'80"));
    QVERIFY(run.out.contains("{\\pntext"));
    QVERIFY(run.out.contains("\\cell"));
    const Run text = runTool({ QStringLiteral("text"), QStringLiteral("-") }, run.out);
    QCOMPARE(text.exitCode, 0);
    QCOMPARE(QString::fromUtf8(text.out),
        QStringLiteral("Plain bold link \u20ac\none\ntwo\nc1\nc2\n\n"));
}

void RtfToolTest::unreadableOrNonRtfInputFailsWithOneLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("message");
    const QString missing = QStringLiteral("/nonexistent/quillmark/none.rtf");
    QTest::newRow("missing file") << QStringList { QStringLiteral("text"), missing } << QByteArray()
                                  << QByteArray("cannot read");
    QTest::newRow("missing html") << QStringList { QStringLiteral("from-html"), missing }
                                  << QByteArray() << QByteArray("cannot read");
    QTest::newRow("a folder") << QStringList { QStringLiteral("rtf"), QStringLiteral("/") }
                              << QByteArray() << QByteArray("/");
    QTest::newRow("plain text") << QStringList { QStringLiteral("rtf"), QStringLiteral("-") }
                                << QByteArray("just text\n") << QByteArray("not an RTF document");
    QTest::newRow("empty input") << QStringList { QStringLiteral("html"), QStringLiteral("-") }
                                 << QByteArray() << QByteArray("not an RTF document");
    QTest::newRow("leading space")
        << QStringList { QStringLiteral("text"), QStringLiteral("-") } << QByteArray(" {\\rtf1 x}")
        << QByteArray("not an RTF document");
}

void RtfToolTest::unreadableOrNonRtfInputFailsWithOneLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, message);
    const Run run = runTool(arguments, input);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(run.err.startsWith("rtftool: ") && run.err.endsWith('\n') && run.err.count('\n') == 1,
        run.err.constData());
    QVERIFY2(run.err.contains(message), run.err.constData());
}

void RtfToolTest::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("nothing") << QStringList();
    QTest::newRow("no file") << QStringList { QStringLiteral("text") };
    QTest::newRow("unknown command") << QStringList { QStringLiteral("pdf"), sample() };
    QTest::newRow("two files") << QStringList { QStringLiteral("text"), sample(), sample() };
}

void RtfToolTest::usageErrors()
{
    QFETCH(QStringList, arguments);
    const Run run = runTool(arguments);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(
        run.err.startsWith("usage: rtftool text|html|rtf|from-html FILE"), run.err.constData());
}

void RtfToolTest::runsWithoutADisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    const Run run = runTool({ QStringLiteral("text"), sample() }, QByteArray(), environment);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QByteArray());
    QVERIFY(run.out.startsWith("Caf\xc3\xa9"));
}

void RtfToolTest::helpAndVersionGoToStandardOutput_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QByteArray>("firstLine");
    QTest::newRow("--help") << QStringLiteral("--help")
                            << QByteArray("usage: rtftool text|html|rtf|from-html FILE");
    QTest::newRow("-h") << QStringLiteral("-h")
                        << QByteArray("usage: rtftool text|html|rtf|from-html FILE");
    QTest::newRow("--version") << QStringLiteral("--version") << QByteArray("rtftool 1.0.0\n");
    QTest::newRow("-v") << QStringLiteral("-v") << QByteArray("rtftool 1.0.0\n");
}

void RtfToolTest::helpAndVersionGoToStandardOutput()
{
    QFETCH(QString, option);
    QFETCH(QByteArray, firstLine);
    const Run run = runTool({ option });
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QByteArray());
    QVERIFY2(run.out.startsWith(firstLine), run.out.constData());
    if (option.contains(u'v'))
        QVERIFY2(run.out.contains("GPL-3.0-or-later"), run.out.constData());
}

QTEST_MAIN(RtfToolTest)
#include "tst_rtftool.moc"
