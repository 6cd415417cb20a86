// Where a start of the program keeps the notes and finds its help file. A program built and
// installed into a folder of the user's (./run) keeps its notes beside it; an installed one (the
// Debian package: the program in bin/, its data in share/quillmark/) keeps them in the user's data
// folder, ~/.local/share/Quillmark. The decisions are plain functions of what was found, so tests
// give them both kinds of program folder.
#pragma once

#include <QString>

class AppFolders
{
public:
    // The application folder: the program's own folder while the program may write there and is
    // not an installed program, else the per-user folder under genericDataFolder (without a
    // trailing separator). An installed program's folder is a system folder even for root, who may
    // write to it.
    static QString applicationFolder(const QString &programFolder, bool programFolderWritable,
        bool installedProgram, const QString &genericDataFolder);
    // help.rtf beside the program when it is there, else in the installed data folder.
    static QString helpFile(const QString &programFolder, bool helpBesideProgram);
    // The data folder of a program installed in PREFIX/bin: PREFIX/share/quillmark.
    static QString installedDataFolder(const QString &programFolder);

    // The same decisions for this program, from the file system and QStandardPaths.
    static QString applicationFolderOf(const QString &programFolder);
    static QString helpFileOf(const QString &programFolder);

    // Makes folder usable as an application folder: creates it when missing and checks that it is
    // a folder the program can write in. Empty when it is usable, else why not ("not a folder").
    static QString prepare(const QString &folder);
};
