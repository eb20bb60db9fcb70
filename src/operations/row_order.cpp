// SPDX-License-Identifier: MIT
#include "row_order.h"

#include "settings/number_text.h"

#include <QRegularExpression>

namespace ops {

namespace {

QStringList entriesOf(const QString& order)
{
    QStringList entries = order.split(u',', Qt::SkipEmptyParts);
    for (QString& entry : entries)
        entry = entry.trimmed();
    return entries;
}

} // namespace

Result<void> checkRowOrder(const QString& order)
{
    const QStringList entries = entriesOf(order);
    if (entries.isEmpty())
        return Failure{QStringLiteral("Give the new order of the rows, e.g. --rearrange 3,1,4,2.")};
    static const QRegularExpression whole(QStringLiteral("^[+-]?[0-9]+$"));
    for (const QString& entry : entries) {
        if (!whole.match(entry).hasMatch())
            return Failure{QStringLiteral("'%1' is not a whole row number; give whole numbers between commas, "
                                          "e.g. --rearrange 3,1,4,2.")
                               .arg(entry)};
    }
    return {};
}

QStringList rowsOutside(const QString& order)
{
    const QStringList entries = entriesOf(order);
    QStringList outside;
    for (const QString& entry : entries) {
        // Whole numbers too long for an int still read exactly enough to compare.
        const double row = settings::readNumber(entry);
        if (row < 1 || row > double(entries.size()))
            outside.append(entry);
    }
    return outside;
}

} // namespace ops
