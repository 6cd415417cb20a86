#include "rtf/RtfNumbering.h"

QString RtfNumbering::roman(int number, bool upper)
{
    if (number <= 0 || number >= 4000)
        return QString::number(number);
    static const struct
    {
        int value;
        const char *digits;
    } steps[] = { { 1000, "m" }, { 900, "cm" }, { 500, "d" }, { 400, "cd" }, { 100, "c" },
        { 90, "xc" }, { 50, "l" }, { 40, "xl" }, { 10, "x" }, { 9, "ix" }, { 5, "v" }, { 4, "iv" },
        { 1, "i" } };
    QString result;
    for (const auto &step : steps) {
        while (number >= step.value) {
            result += QLatin1String(step.digits);
            number -= step.value;
        }
    }
    return upper ? result.toUpper() : result;
}
