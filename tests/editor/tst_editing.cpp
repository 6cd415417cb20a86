// The note box's formatting keys and its right-click menu: each command changes the format of the
// selection, the new format survives writing the note as RTF and reading it back, and only real
// changes of the text count as a change.
#include "editor/FindBar.h"
#include "editor/NoteContextMenu.h"
#include "editor/NoteEditActions.h"
#include "editor/NoteFormat.h"
#include "editor/RichTextBox.h"
#include "editor/SpellChecker.h"
#include "editor/SpellHighlighter.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextList>
#include <QtTest>
#include <memory>

namespace {
const QString sample = QStringLiteral("alpha beta gamma");
constexpr int betaStart = 6;
constexpr int betaEnd = 10;

// A shown, focused box holding text at the note font size, "beta" selected.
std::unique_ptr<RichTextBox> makeBox(const QString &text = sample)
{
    auto box = std::make_unique<RichTextBox>();
    box->setFontSize(10);
    box->setText(text);
    box->resize(420, 220);
    box->show();
    QApplication::setActiveWindow(box.get());
    box->setFocus();
    if (text.size() >= betaEnd) {
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(betaStart);
        cursor.setPosition(betaEnd, QTextCursor::KeepAnchor);
        box->setTextCursor(cursor);
    }
    return box;
}

QTextCharFormat formatAt(const QTextDocument &document, int position)
{
    const QTextBlock block = document.findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().contains(position))
            return it.fragment().charFormat();
    }
    return block.charFormat();
}

// What a reader sees of the text at position: the properties the menu can change.
QString describe(const QTextDocument &document, int position)
{
    const QTextCharFormat format = formatAt(document, position);
    const QTextBlock block = document.findBlock(position);
    QStringList parts;
    if (format.fontWeight() > QFont::Normal)
        parts << "bold";
    if (format.fontItalic())
        parts << "italic";
    if (format.fontUnderline())
        parts << "underline";
    if (format.fontStrikeOut())
        parts << "strike";
    const QColor foreground = format.foreground().style() == Qt::NoBrush
        ? QColor(Qt::black)
        : format.foreground().color();
    if (foreground != QColor(Qt::black))
        parts << "colour " + foreground.name();
    if (format.background().style() != Qt::NoBrush && format.background().color().alpha() > 0)
        parts << "highlight " + format.background().color().name();
    const double size
        = format.fontPointSize() > 0 ? format.fontPointSize() : document.defaultFont().pointSizeF();
    parts << QStringLiteral("%1pt").arg(size);
    const Qt::Alignment alignment = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        parts << "centre";
    else if (alignment & Qt::AlignJustify)
        parts << "justify";
    else if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
        parts << "right";
    if (const QTextList *list = block.textList())
        parts << (list->format().style() == QTextListFormat::ListDecimal ? "numbered" : "bulleted");
    return parts.join(QLatin1Char(' '));
}

// The note as the next start shows it: written as RTF, read into a fresh box.
std::unique_ptr<RichTextBox> reloaded(const RichTextBox &box)
{
    auto copy = std::make_unique<RichTextBox>();
    copy->setFontSize(10);
    if (!copy->loadRtf(box.textRTF()))
        return nullptr;
    return copy;
}

QString menuEntry(const QAction *action)
{
    QString text = action->text().remove(QLatin1Char('&'));
    if (!action->shortcut().isEmpty())
        text += QLatin1Char('\t') + action->shortcut().toString(QKeySequence::PortableText);
    return text;
}
} // namespace

class EditingTest : public QObject
{
    Q_OBJECT
private slots:
    void keysFormatTheSelectionAndSurviveSaving_data();
    void keysFormatTheSelectionAndSurviveSaving();
    void keysWithoutSelectionSetTheTypingFormat();
    void undoAndRedoKeys();
    void pasteAsPlainTextDropsTheFormat();
    void sizeStepsKeepMixedSizesApart();
    void emptiedBoxTypesInItsOwnFont_data();
    void emptiedBoxTypesInItsOwnFont();
    void wideContentIsShownShrunkAndSavedWhole_data();
    void wideContentIsShownShrunkAndSavedWhole();

    void menuOffersEveryCommandWithItsShortcut();
    void menuCommandsSurviveSaving_data();
    void menuCommandsSurviveSaving();
    void listsToggle();
    void clearFormattingKeepsLinks();
    void cancelledColourChangesNothing();

    void typingRaisesOneChange();
    void formattingASelectionIsAChange();
    void highlightsAreNoChange();
};

void EditingTest::keysFormatTheSelectionAndSurviveSaving_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("Ctrl+B bold") << QKeySequence("Ctrl+B") << ""
                                 << "bold 10pt";
    QTest::newRow("Ctrl+I italic") << QKeySequence("Ctrl+I") << ""
                                   << "italic 10pt";
    QTest::newRow("Ctrl+U underline") << QKeySequence("Ctrl+U") << ""
                                      << "underline 10pt";
    QTest::newRow("Ctrl+R right") << QKeySequence("Ctrl+R") << ""
                                  << "10pt right";
    QTest::newRow("Ctrl+J justify") << QKeySequence("Ctrl+J") << ""
                                    << "10pt justify";
    QTest::newRow("Ctrl+L left") << QKeySequence("Ctrl+L") << "centre"
                                 << "10pt";
    QTest::newRow("Ctrl+] bigger") << QKeySequence("Ctrl+]") << ""
                                   << "11pt";
    QTest::newRow("Ctrl+[ smaller") << QKeySequence("Ctrl+[") << ""
                                    << "9pt";
    QTest::newRow("Ctrl+B twice") << QKeySequence("Ctrl+B, Ctrl+B") << ""
                                  << "10pt";
}

void EditingTest::keysFormatTheSelectionAndSurviveSaving()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QString, before);
    QFETCH(QString, after);
    auto box = makeBox();
    if (before == "centre")
        NoteFormat::setAlignment(*box, Qt::AlignHCenter);
    for (int i = 0; i < keys.count(); ++i)
        QTest::keySequence(box.get(), QKeySequence(keys[i]));

    QCOMPARE(box->toPlainText(), sample); // Ctrl+U on X11 would have deleted the line
    QCOMPARE(describe(*box->document(), betaStart + 1), after);
    if (!after.contains("pt right") && !after.contains("justify"))
        QCOMPARE(describe(*box->document(), 1), QStringLiteral("10pt"));
    auto copy = reloaded(*box);
    QVERIFY(copy);
    QCOMPARE(copy->toPlainText(), sample);
    QCOMPARE(describe(*copy->document(), betaStart + 1), after);
    QCOMPARE(describe(*copy->document(), 1), describe(*box->document(), 1));
}

void EditingTest::keysWithoutSelectionSetTheTypingFormat()
{
    auto box = makeBox();
    box->moveCursor(QTextCursor::End);
    QSignalSpy changes(box.get(), &RichTextBox::Change);
    QTest::keyClick(box.get(), Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(box.get(), Qt::Key_BracketRight, Qt::ControlModifier);
    QCOMPARE(changes.count(), 0); // nothing in the note changed yet
    QTest::keyClicks(box.get(), " delta");
    QCOMPARE(box->toPlainText(), sample + " delta");
    QCOMPARE(describe(*box->document(), sample.size() + 2), QStringLiteral("bold 11pt"));
    QCOMPARE(describe(*box->document(), 1), QStringLiteral("10pt"));
}

void EditingTest::undoAndRedoKeys()
{
    for (const QKeySequence &redo : { QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z") }) {
        auto box = makeBox();
        QTest::keyClick(box.get(), Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(describe(*box->document(), betaStart + 1), QStringLiteral("bold 10pt"));
        QTest::keyClick(box.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(describe(*box->document(), betaStart + 1), QStringLiteral("10pt"));
        QTest::keySequence(box.get(), redo);
        QCOMPARE(describe(*box->document(), betaStart + 1), QStringLiteral("bold 10pt"));
    }
    // Typing is undone as well, and a load is no step to undo.
    auto box = makeBox(QString());
    QVERIFY(box->loadRtf(QByteArrayLiteral("{\\rtf1\\ansi loaded\\par}")));
    QTest::keyClicks(box.get(), "x");
    QTest::keyClick(box.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(box.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box->toPlainText(), QStringLiteral("loaded"));
}

void EditingTest::pasteAsPlainTextDropsTheFormat()
{
    auto box = makeBox();
    auto *data = new QMimeData;
    data->setHtml(QStringLiteral("<b style=\"color:#ff0000\">loud</b>"));
    data->setText(QStringLiteral("loud"));
    QGuiApplication::clipboard()->setMimeData(data);
    box->moveCursor(QTextCursor::Start);
    QTest::keyClick(box.get(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(box->toPlainText(), QStringLiteral("loudalpha beta gamma"));
    QCOMPARE(describe(*box->document(), 1), QStringLiteral("10pt"));
    // Ctrl+V keeps it.
    QTest::keyClick(box.get(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->toPlainText(), QStringLiteral("loudloudalpha beta gamma"));
    QVERIFY(describe(*box->document(), 5).startsWith(QStringLiteral("bold colour #ff0000")));
}

void EditingTest::sizeStepsKeepMixedSizesApart()
{
    QCOMPARE(NoteFormat::nextSize(10, +1), 11.0);
    QCOMPARE(NoteFormat::nextSize(12, +1), 14.0);
    QCOMPARE(NoteFormat::nextSize(13, +1), 14.0);
    QCOMPARE(NoteFormat::nextSize(13, -1), 12.0);
    QCOMPARE(NoteFormat::nextSize(72, +1), 72.0);
    QCOMPARE(NoteFormat::nextSize(6, -1), 6.0);
    QCOMPARE(NoteFormat::nextSize(5, -1), 6.0);

    auto box = makeBox();
    QTest::keyClick(box.get(), Qt::Key_BracketRight, Qt::ControlModifier); // "beta" at 11
    box->selectAll();
    QTest::keyClick(box.get(), Qt::Key_BracketRight, Qt::ControlModifier);
    QCOMPARE(describe(*box->document(), 1), QStringLiteral("11pt"));
    QCOMPARE(describe(*box->document(), betaStart + 1), QStringLiteral("12pt"));
    auto copy = reloaded(*box);
    QCOMPARE(describe(*copy->document(), 1), QStringLiteral("11pt"));
    QCOMPARE(describe(*copy->document(), betaStart + 1), QStringLiteral("12pt"));
}

void EditingTest::emptiedBoxTypesInItsOwnFont_data()
{
    QTest::addColumn<QByteArray>("shownBefore");
    QTest::newRow("bold, sized, own font")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Courier New;}}\\f0\\b\\fs36 Big\\par}");
    QTest::newRow("without sizes") << QByteArray("{\\rtf1 plain\\par}");
}

void EditingTest::emptiedBoxTypesInItsOwnFont()
{
    QFETCH(QByteArray, shownBefore);
    auto box = makeBox(QString());
    const QString ownFamily = box->document()->defaultFont().family();
    QVERIFY(box->loadRtf(shownBefore));
    box->moveCursor(QTextCursor::End);
    box->setText(QString());
    QTest::keyClicks(box.get(), QStringLiteral("new"));
    QCOMPARE(describe(*box->document(), 1), QStringLiteral("10pt"));
    QCOMPARE(formatAt(*box->document(), 1).font().family(), ownFamily);
}

void EditingTest::wideContentIsShownShrunkAndSavedWhole_data()
{
    QTest::addColumn<QByteArray>("note");
    QTest::addColumn<QList<QByteArray>>("ownSizes");
    QTest::newRow("table of two 400-pixel columns") << QByteArray(
        "{\\rtf1\\trowd\\cellx6000\\cellx12000\\pard\\intbl a\\cell b\\cell\\row"
        "\\pard\\par}") << QList<QByteArray> { "\\cellx6000", "\\cellx12000" };
    QImage wide(900, 20, QImage::Format_RGB32);
    wide.fill(Qt::darkGreen);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    wide.save(&buffer, "PNG");
    QTest::newRow("picture 900 pixels wide")
        << "{\\rtf1{\\pict\\pngblip\\picwgoal13500\\pichgoal300 " + png.toHex() + "}\\par}"
        << QList<QByteArray> { "\\picwgoal13500", "\\pichgoal300" };
}

void EditingTest::wideContentIsShownShrunkAndSavedWhole()
{
    QFETCH(QByteArray, note);
    QFETCH(QList<QByteArray>, ownSizes);
    auto box = makeBox(QString());
    QVERIFY(box->loadRtf(note));
    // The box does not scroll sideways: what is wider than it is cut off.
    QVERIFY(box->document()->documentLayout()->documentSize().width() <= box->viewport()->width());
    const QByteArray saved = box->textRTF();
    for (const QByteArray &size : ownSizes)
        QVERIFY2(saved.contains(size), size.constData());
}

void EditingTest::menuOffersEveryCommandWithItsShortcut()
{
    auto box = makeBox();
    std::unique_ptr<QMenu> menu(NoteContextMenu::create(box.get(), QPoint(2, 2)));
    QStringList entries;
    for (const QAction *action : menu->actions())
        entries << (action->isSeparator() ? QStringLiteral("-") : menuEntry(action));
    const QStringList expected {
        "Undo\tCtrl+Z",
        "Redo\tCtrl+Y",
        "-",
        "Cut\tCtrl+X",
        "Copy\tCtrl+C",
        "Paste\tCtrl+V",
        "Delete\tDel",
        "-",
        "Select All\tCtrl+A",
        "Find...\tCtrl+F",
        "-",
        "Bold\tCtrl+B",
        "Italic\tCtrl+I",
        "Underline\tCtrl+U",
        "Strikethrough",
        "-",
        "Text colour...",
        "Highlight...",
        "Bigger\tCtrl+]",
        "Smaller\tCtrl+[",
        "-",
        "Align left\tCtrl+L",
        "Align centre",
        "Align right\tCtrl+R",
        "Justify\tCtrl+J",
        "-",
        "Bulleted list",
        "Numbered list",
        "-",
        "Paste as plain text\tCtrl+Shift+V",
        "Clear formatting\tCtrl+\\",
    };
    QCOMPARE(entries, expected);
    // What can be done now: "beta" is selected, nothing to undo.
    NoteEditActions &actions = *box->editActions();
    QVERIFY(!actions.action(NoteEditActions::Undo)->isEnabled());
    QVERIFY(actions.action(NoteEditActions::Cut)->isEnabled());
    QVERIFY(actions.action(NoteEditActions::Copy)->isEnabled());
    QVERIFY(actions.action(NoteEditActions::Bold)->isEnabled());
    box->moveCursor(QTextCursor::End);
    actions.updateStates();
    QVERIFY(!actions.action(NoteEditActions::Cut)->isEnabled());
    QVERIFY(!actions.action(NoteEditActions::Copy)->isEnabled());
    QCOMPARE(actions.action(NoteEditActions::PastePlainText)->isEnabled(),
        !QGuiApplication::clipboard()->text().isEmpty());
    QTest::keyClicks(box.get(), "!");
    actions.updateStates();
    QVERIFY(actions.action(NoteEditActions::Undo)->isEnabled());
    // The menu shows the states of its moment.
    QTest::keyClick(box.get(), Qt::Key_B, Qt::ControlModifier);
    std::unique_ptr<QMenu> again(NoteContextMenu::create(box.get(), QPoint(2, 2)));
    QVERIFY(actions.action(NoteEditActions::Bold)->isChecked());
    QVERIFY(actions.action(NoteEditActions::AlignLeft)->isChecked());
    QVERIFY(!actions.action(NoteEditActions::AlignRight)->isChecked());
}

void EditingTest::menuCommandsSurviveSaving_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("after");
    QTest::newRow("bold") << "actBold"
                          << "bold 10pt";
    QTest::newRow("italic") << "actItalic"
                            << "italic 10pt";
    QTest::newRow("underline") << "actUnderline"
                               << "underline 10pt";
    QTest::newRow("strikethrough") << "actStrikethrough"
                                   << "strike 10pt";
    QTest::newRow("text colour") << "actTextColour"
                                 << "colour #c00000 10pt";
    QTest::newRow("highlight") << "actHighlight"
                               << "highlight #c00000 10pt";
    QTest::newRow("bigger") << "actBigger"
                            << "11pt";
    QTest::newRow("smaller") << "actSmaller"
                             << "9pt";
    QTest::newRow("align centre") << "actAlignCentre"
                                  << "10pt centre";
    QTest::newRow("align right") << "actAlignRight"
                                 << "10pt right";
    QTest::newRow("justify") << "actAlignJustify"
                             << "10pt justify";
    QTest::newRow("bulleted list") << "actBulletedList"
                                   << "10pt bulleted";
    QTest::newRow("numbered list") << "actNumberedList"
                                   << "10pt numbered";
    QTest::newRow("clear formatting") << "actClearFormatting"
                                      << "10pt";
}

void EditingTest::menuCommandsSurviveSaving()
{
    QFETCH(QString, command);
    QFETCH(QString, after);
    auto box = makeBox(QStringLiteral("first line\nalpha beta gamma\nlast line"));
    // "beta" on the second line.
    const int start = box->toPlainText().indexOf("beta");
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + 4, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
    if (command == "actClearFormatting") {
        NoteFormat::toggleBold(*box);
        NoteFormat::setTextColour(*box, QColor(0, 128, 0));
        NoteFormat::makeBigger(*box);
    }
    box->editActions()->setColourChooser(
        [](const QColor &, const QString &, QWidget *) { return QColor(0xc0, 0, 0); });
    std::unique_ptr<QMenu> menu(NoteContextMenu::create(box.get(), QPoint(2, 2)));
    QAction *action = menu->findChild<QAction *>(command);
    if (!action) // the actions belong to the box; the menu only shows them
        action = box->findChild<QAction *>(command);
    QVERIFY2(action && menu->actions().contains(action), qPrintable(command));
    action->trigger();

    QCOMPARE(describe(*box->document(), start + 1), after);
    auto copy = reloaded(*box);
    QVERIFY(copy);
    QCOMPARE(copy->toPlainText(), box->toPlainText());
    for (int position : { 1, start - 3, start + 1, start + 6, int(box->toPlainText().size()) - 2 })
        QCOMPARE(describe(*copy->document(), position), describe(*box->document(), position));
}

void EditingTest::listsToggle()
{
    auto box = makeBox(QStringLiteral("one\ntwo\nthree"));
    box->selectAll();
    NoteEditActions &actions = *box->editActions();
    actions.action(NoteEditActions::BulletedList)->trigger();
    for (int position : { 0, 5, 9 })
        QCOMPARE(describe(*box->document(), position), QStringLiteral("10pt bulleted"));
    QCOMPARE(box->document()->firstBlock().textList()->count(), 3); // one list, not three
    // The states are read when a menu or a key needs them.
    actions.updateStates();
    QVERIFY(actions.action(NoteEditActions::BulletedList)->isChecked());
    // The other style turns the list into that style; the same style again ends the list.
    actions.action(NoteEditActions::NumberedList)->trigger();
    QCOMPARE(describe(*box->document(), 5), QStringLiteral("10pt numbered"));
    auto copy = reloaded(*box);
    QCOMPARE(describe(*copy->document(), 9), QStringLiteral("10pt numbered"));
    actions.action(NoteEditActions::NumberedList)->trigger();
    for (int position : { 0, 5, 9 })
        QCOMPARE(describe(*box->document(), position), QStringLiteral("10pt"));
    QCOMPARE(box->document()->firstBlock().blockFormat().indent(), 0);
    QCOMPARE(box->toPlainText(), QStringLiteral("one\ntwo\nthree"));
}

void EditingTest::clearFormattingKeepsLinks()
{
    auto box = makeBox(QString());
    box->setHtml(QStringLiteral("<p><b>see <a href=\"https://example.org/\">the site</a></b></p>"));
    box->selectAll();
    box->editActions()->action(NoteEditActions::ClearFormatting)->trigger();
    QCOMPARE(describe(*box->document(), 1).contains("bold"), false);
    const QTextCharFormat link = formatAt(*box->document(), 6);
    QVERIFY(link.isAnchor());
    QCOMPARE(link.anchorHref(), QStringLiteral("https://example.org/"));
    QVERIFY(!link.fontWeight() || link.fontWeight() <= QFont::Normal);
}

void EditingTest::cancelledColourChangesNothing()
{
    auto box = makeBox();
    QSignalSpy changes(box.get(), &RichTextBox::Change);
    QString title;
    box->editActions()->setColourChooser([&title](const QColor &, const QString &asked, QWidget *) {
        title = asked;
        return QColor(); // cancelled
    });
    box->editActions()->action(NoteEditActions::TextColour)->trigger();
    QCOMPARE(title, QStringLiteral("Text colour"));
    box->editActions()->action(NoteEditActions::Highlight)->trigger();
    QCOMPARE(title, QStringLiteral("Highlight"));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(describe(*box->document(), betaStart + 1), QStringLiteral("10pt"));
}

void EditingTest::typingRaisesOneChange()
{
    auto box = makeBox();
    box->moveCursor(QTextCursor::End);
    QSignalSpy changes(box.get(), &RichTextBox::Change);
    QSignalSpy keyUps(box.get(), &RichTextBox::KeyUp);
    QTest::keyClick(box.get(), Qt::Key_X);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(keyUps.count(), 1);
    QTest::keyClick(box.get(), Qt::Key_Backspace);
    QCOMPARE(changes.count(), 2);
    // Moving the caret and selecting change nothing.
    QTest::keyClick(box.get(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(box.get(), Qt::Key_Home);
    QCOMPARE(changes.count(), 2);
}

void EditingTest::formattingASelectionIsAChange()
{
    auto box = makeBox();
    QSignalSpy changes(box.get(), &RichTextBox::Change);
    QTest::keyClick(box.get(), Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(changes.count(), 1);
    QTest::keyClick(box.get(), Qt::Key_BracketRight, Qt::ControlModifier);
    QCOMPARE(changes.count(), 2);
    box->editActions()->action(NoteEditActions::AlignRight)->trigger();
    QCOMPARE(changes.count(), 3);
}

void EditingTest::highlightsAreNoChange()
{
    auto box = makeBox(QStringLiteral("the quikc brown fox jumsp over the lazy dog"));
    box->moveCursor(QTextCursor::Start);
    QSignalSpy changes(box.get(), &RichTextBox::Change);
    SpellChecker checker(QStringLiteral(QUILLMARK_TEST_DATA "/spell/test.dic"));
    box->setSpellChecker(&checker);
    QCOMPARE(box->spellHighlighter()->misspellings().size(), 2);
    QCOMPARE(box->extraSelections().size(), 2);
    box->spellHighlighter()->recheckNow();
    checker.addWord(QStringLiteral("quikc"));
    QCOMPARE(box->extraSelections().size(), 1);
    box->openFindBar();
    box->findBar()->setText(QStringLiteral("the"));
    QCOMPARE(box->extraSelections().size(), 3);
    box->setSpellChecker(nullptr);
    QCOMPARE(box->extraSelections().size(), 2);
    QCOMPARE(changes.count(), 0);
    QVERIFY(!box->document()->isUndoAvailable());
    QCOMPARE(box->toPlainText(), QStringLiteral("the quikc brown fox jumsp over the lazy dog"));
}

QTEST_MAIN(EditingTest)
#include "tst_editing.moc"
