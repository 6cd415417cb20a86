// File > Print and File > Export as PDF: the current note on pages with its title above and the
// page count below, through the print and save dialogs of the Prompter.
#include "editor/NotePrinter.h"
#include "editor/RichTextBox.h"
#include "rtf/RtfWriter.h"
#include "support/ExternalTool.h"
#include "support/ProjectTestSupport.h"

#include <QAction>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QtTest>

using namespace ProjectTest;

class PrintNoteTest : public QObject
{
    Q_OBJECT
private slots:
    void disabledOnTheEmptyDisabledEditor();
    void noteWithTableAndPicture_data();
    void noteWithTableAndPicture();
};

namespace {
// A note holding a line of text, a table of two cells and a picture.
QByteArray tableAndPictureNote()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("Shopping list"));
    QTextTable *table = cursor.insertTable(1, 2);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("Carrots"));
    table->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("Parsnips"));
    cursor.movePosition(QTextCursor::End);
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    document.addResource(QTextDocument::ImageResource, QUrl("picture.png"), picture);
    cursor.insertImage(QStringLiteral("picture.png"));
    cursor.insertText(QStringLiteral("after the picture"));
    return RtfWriter(10).write(document);
}
} // namespace

void PrintNoteTest::disabledOnTheEmptyDisabledEditor()
{
    TestApp app;
    openWithNotes(app, alphaAndBeta());
    QVERIFY(!app.find<QAction>("mnuPrint")->isEnabled());
    QVERIFY(!app.find<QAction>("mnuExportPdf")->isEnabled());
    select(app, 0);
    QVERIFY(app.find<QAction>("mnuPrint")->isEnabled());
    QVERIFY(app.find<QAction>("mnuExportPdf")->isEnabled());
}

void PrintNoteTest::noteWithTableAndPicture_data()
{
    QTest::addColumn<bool>("print");
    QTest::newRow("export as PDF") << false;
    QTest::newRow("print") << true;
}

void PrintNoteTest::noteWithTableAndPicture()
{
    QFETCH(bool, print);
    QString pdftotext;
    QUILLMARK_REQUIRE_TOOL(pdftotext, "pdftotext", "poppler-utils");
    TestApp app;
    app.writeFile(app.notePath("Garden.rtf"), tableAndPictureNote());
    openWithNotes(app, {});
    select(app, 0);
    const QString pdf = app.folder() + QStringLiteral("/out.pdf");
    if (print) {
        app.prompter.answerPrint = [&](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        };
        app.trigger("mnuPrint");
    } else {
        app.prompter.answerSaveFile(pdf);
        app.trigger("mnuExportPdf");
        const auto asked = app.prompter.shownOfKind("saveFile");
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().caption, QStringLiteral("Export as PDF"));
        QCOMPARE(asked.first().extra, QStringLiteral("PDF Files|*.pdf"));
        QCOMPARE(asked.first().text, QStringLiteral("Garden.pdf"));
    }
    QVERIFY(app.prompter.shownOfKind("message").isEmpty());

    QProcess reader;
    reader.start(pdftotext, { QStringLiteral("-layout"), pdf, QStringLiteral("-") });
    QVERIFY(reader.waitForFinished(30000));
    const QString text = QString::fromUtf8(reader.readAllStandardOutput());
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY2(!lines.isEmpty(), qPrintable(text));
    QCOMPARE(lines.first().trimmed(), QStringLiteral("Garden"));
    for (const char *expected :
        { "Shopping list", "Carrots", "Parsnips", "after the picture", "Page 1 of 1" })
        QVERIFY2(text.contains(QLatin1String(expected)), qPrintable(text));
}

QTEST_MAIN(PrintNoteTest)
#include "tst_printnote.moc"
