// SPDX-License-Identifier: MIT
#include "image/colour.h"
#include "image/qcolor_conversion.h"
#include "support/colour_text.h"

#include <QtTest>

using image::Colour;

class tst_Colour : public QObject {
    Q_OBJECT

private slots:
    void convertsBothWays_data()
    {
        QTest::addColumn<quint32>("bgr");
        QTest::addColumn<QRgb>("pixel");
        QTest::newRow("black") << 0x00000000u << 0xFF000000u;
        QTest::newRow("red") << 0x000000FFu << 0xFFFF0000u;
        QTest::newRow("blue") << 0x00FF0000u << 0xFF0000FFu;
        QTest::newRow("mixed") << 0x00563412u << 0xFF123456u;
    }

    void convertsBothWays()
    {
        QFETCH(quint32, bgr);
        QFETCH(QRgb, pixel);
        const Colour colour = Colour::fromBgr(bgr);
        QCOMPARE(colour.pixel(), pixel);
        QCOMPARE(Colour::fromPixel(pixel), colour);
        QCOMPARE(Colour::fromPixel(pixel & 0x00FFFFFFu), colour); // alpha plays no part
        QCOMPARE(image::rgb(colour.red(), colour.green(), colour.blue()), colour);
        QCOMPARE(image::fromQColor(image::toQColor(colour)), colour);
    }

    void noPixelHoldsNoColour()
    {
        for (QRgb pixel = 0; pixel <= 0xFFFFFFu; ++pixel)
            if (Colour::fromPixel(pixel) == image::kNoColour)
                QFAIL(qPrintable(QString::number(pixel, 16)));
    }
};

QTEST_GUILESS_MAIN(tst_Colour)
#include "colour_test.moc"
