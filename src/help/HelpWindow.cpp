#include "HelpWindow.h"

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent)
{
}
