// The widgets of the main window that the day notes work on, Monday first. The main window fills
// it from its form, so the day notes know nothing else of the window.
#pragma once

#include "daynotes/DayTable.h"

#include <array>

class QCheckBox;
class RichTextBox;

struct DayNotesView
{
    std::array<RichTextBox *, DayTable::dayCount> boxes {};
    std::array<QCheckBox *, DayTable::dayCount> marks {};
};
