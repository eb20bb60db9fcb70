// SPDX-License-Identifier: MIT
#include "natural_order.h"

#include <QFileInfo>

#include <algorithm>

namespace shell {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The end of the run of digits from `from`.
qsizetype digitsEnd(QStringView text, qsizetype from)
{
    while (from < text.size() && isDigit(text[from]))
        ++from;
    return from;
}

// Compares two runs of digits by value, however long: without leading zeros, the
// longer is the larger, and runs of one length compare digit by digit.
int compareNumbers(QStringView a, QStringView b)
{
    const auto significant = [](QStringView run) {
        qsizetype zeros = 0;
        while (zeros + 1 < run.size() && run[zeros] == u'0')
            ++zeros;
        return run.mid(zeros);
    };
    const QStringView x = significant(a);
    const QStringView y = significant(b);
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    return x.compare(y);
}

} // namespace

int naturalCompare(QStringView a, QStringView b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const qsizetype endA = digitsEnd(a, i);
            const qsizetype endB = digitsEnd(b, j);
            if (const int order = compareNumbers(a.sliced(i, endA - i), b.sliced(j, endB - j)))
                return order;
            i = endA;
            j = endB;
            continue;
        }
        const QChar x = a[i].toCaseFolded();
        const QChar y = b[j].toCaseFolded();
        if (x != y)
            return x < y ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return a.compare(b);
}

void sortByNaturalName(QStringList& files)
{
    std::stable_sort(files.begin(), files.end(), [](const QString& a, const QString& b) {
        const int order = naturalCompare(QFileInfo(a).fileName(), QFileInfo(b).fileName());
        return order != 0 ? order < 0 : naturalCompare(a, b) < 0;
    });
}

} // namespace shell
