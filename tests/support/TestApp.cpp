#include "support/TestApp.h"

#include "app/AppServices.h"
#include "editor/RichTextBox.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QTextDocument>
#include <QtTest>

TestApp::TestApp(QDate today)
    : clock(today)
    , m_services(std::make_unique<AppServices>(m_dir.path()))
{
    m_services->setSettingsFile(m_dir.path() + QStringLiteral("/.settings/Quillmark.ini"));
    m_services->setPrompter(&prompter);
    m_services->setShell(&shell);
    m_services->setClock(&clock);
    // Beside the application folder, not in it: nothing of the trash is a note.
    trash.folder = m_dir.path() + QStringLiteral("/.trash");
    m_services->setTrash(&trash);
    m_services->setQuit([this] { ++quitCount; });
    files = &m_services->files();
    settings = &m_services->settings();
}

TestApp::~TestApp()
{
    delete m_window;
}

MainWindowServices TestApp::services()
{
    m_services->setFiles(files);
    m_services->setResetDaysInterval(resetDaysIntervalMs);
    m_services->setBackgroundWrites(backgroundWrites);
    m_services->setWatchFolders(watchFolders);
    return m_services->services();
}

void TestApp::reopenSettings()
{
    m_services->setSettingsFile(settings->fileName());
    settings = &m_services->settings();
}

MainWindow &TestApp::open()
{
    if (!m_window) {
        m_window = new MainWindow(services());
        m_window->showWindow();
    }
    return *m_window;
}

void TestApp::writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(contents);
}

QByteArray TestApp::readFile(const QString &path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QByteArray TestApp::rtfWithText(const QString &text)
{
    QTextDocument document;
    document.setPlainText(text);
    return RtfWriter(10).write(document);
}

void TestApp::writeNote(const QString &fileName, const QString &text)
{
    writeFile(notePath(fileName), rtfWithText(text));
}

QString TestApp::rtfFileText(const QString &path) const
{
    QTextDocument document;
    if (!RtfReader().read(readFile(path), &document))
        return QStringLiteral("<not RTF>");
    return document.toPlainText();
}

void TestApp::click(const QString &buttonName)
{
    auto *button = find<QAbstractButton>(buttonName);
    QVERIFY2(button, qPrintable(buttonName));
    // A disabled button ignores the click: a test that clicks one would prove nothing.
    QVERIFY2(button->isEnabled(), qPrintable(buttonName + QStringLiteral(" is disabled")));
    button->click();
}

void TestApp::trigger(const QString &actionName)
{
    auto *action = find<QAction>(actionName);
    QVERIFY2(action, qPrintable(actionName));
    QVERIFY2(action->isEnabled(), qPrintable(actionName + QStringLiteral(" is disabled")));
    action->trigger();
}

QListWidget *TestApp::list()
{
    return find<QListWidget>(QStringLiteral("lstToDo"));
}

RichTextBox *TestApp::editor()
{
    return find<RichTextBox>(QStringLiteral("rtfToDo"));
}

QStringList TestApp::listTitles()
{
    QStringList titles;
    if (QListWidget *widget = list())
        for (int i = 0; i < widget->count(); ++i)
            titles.append(widget->item(i)->text());
    return titles;
}
