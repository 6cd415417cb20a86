// The desktop's trash, where a removed note can be brought back from by the file manager.
#pragma once

#include <QString>

class Trash
{
public:
    virtual ~Trash() = default;
    // Moves the file at path to the trash; false (the file left where it was) when there is no
    // trash or the move failed.
    virtual bool moveToTrash(const QString &path) = 0;
};
