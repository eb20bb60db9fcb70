// SPDX-License-Identifier: MIT
#pragma once

#include "image/colour.h"

#include <QString>
#include <QtTest>

namespace image {

// How QCOMPARE shows a colour: its 0x00BBGGRR number.
inline char* toString(const Colour& colour)
{
    return qstrdup(qPrintable(QStringLiteral("0x%1").arg(colour.bgr(), 8, 16, QLatin1Char('0'))));
}

} // namespace image
