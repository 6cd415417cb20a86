// The Trash of the real program: the desktop's own, through QFile::moveToTrash.
#pragma once

#include "platform/Trash.h"

#include <QFile>

class QtTrash : public Trash
{
public:
    bool moveToTrash(const QString &path) override { return QFile::moveToTrash(path); }
};
