// Numbers as labels: the roman numerals of list labels and of footnote marks.
#pragma once

#include <QString>

namespace RtfNumbering {
// number in roman numerals, lower or upper case; outside 1 to 3999, in digits.
QString roman(int number, bool upper);
} // namespace RtfNumbering
