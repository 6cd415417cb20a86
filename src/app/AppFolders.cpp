#include "app/AppFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

namespace {
const QString helpFileName = QStringLiteral("help.rtf");
}

QString AppFolders::applicationFolder(const QString &programFolder, bool programFolderWritable,
    bool installedProgram, const QString &genericDataFolder)
{
    if (programFolderWritable && !installedProgram)
        return programFolder;
    return genericDataFolder + QStringLiteral("/Quillmark");
}

QString AppFolders::helpFile(const QString &programFolder, bool helpBesideProgram)
{
    if (helpBesideProgram)
        return programFolder + QLatin1Char('/') + helpFileName;
    return installedDataFolder(programFolder) + QLatin1Char('/') + helpFileName;
}

QString AppFolders::installedDataFolder(const QString &programFolder)
{
    return QDir::cleanPath(programFolder + QStringLiteral("/../share/quillmark"));
}

QString AppFolders::applicationFolderOf(const QString &programFolder)
{
    // The package's layout: help.rtf in the data folder and not beside the program.
    const bool installed = !QFileInfo(programFolder + QLatin1Char('/') + helpFileName).isFile()
        && QFileInfo(installedDataFolder(programFolder) + QLatin1Char('/') + helpFileName).isFile();
    return applicationFolder(programFolder, QFileInfo(programFolder).isWritable(), installed,
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QString AppFolders::helpFileOf(const QString &programFolder)
{
    return helpFile(
        programFolder, QFileInfo(programFolder + QLatin1Char('/') + helpFileName).isFile());
}

QString AppFolders::prepare(const QString &folder)
{
    if (folder.isEmpty())
        return QStringLiteral("no folder named");
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return QStringLiteral("not a folder");
    if (!info.exists()) {
        std::error_code error;
        std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), error);
        if (error)
            return QStringLiteral("cannot be created (%1)")
                .arg(QString::fromLocal8Bit(error.message()));
    }
    // A real write rather than the permission bits: a read-only mount says no even to root.
    QTemporaryFile probe(folder + QStringLiteral("/.quillmark-probe-XXXXXX"));
    if (!probe.open())
        return QStringLiteral("not writable");
    return QString();
}
