// The help and about window: the help file "help.rtf" of the application folder, or the about text.
#pragma once

#include <QWidget>

class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);
};
