// SPDX-License-Identifier: MIT
#pragma once

#include "shell/window_fixture.h"

#include <QColor>
#include <QLineEdit>
#include <QPushButton>

// What the window made of a sheet, and the messages it showed on the way.
struct WindowRun {
    QImage picture;
    QStringList messages;
};

// Gives the window the answers that pixmold-batch options carry ("--npc", "2,4", ...):
// the same texts typed into its prompts and Options panel, the colour to replace picked
// by a press on its first pixel of that colour (options' colours in #rrggbb form).
inline WindowRun throughWindow(const QImage& sheet, const QStringList& options)
{
    WindowFixture f;
    f.load(sheet);
    for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
        const QString& option = options[i];
        const QString& value = options[i + 1];
        if (option == QLatin1String("--sprite-size")) {
            const QStringList sides = value.split(u'x');
            f.trigger("mnuFileOptions");
            f.control<QLineEdit>("txtDim_0")->setText(sides.value(0));
            f.control<QLineEdit>("txtDim_1")->setText(sides.value(1));
            f.control<QPushButton>("cmdOps_0")->click();
        } else if (option == QLatin1String("--npc")) {
            f.dialogs.inputs << value.split(u',');
            f.trigger("mnuFileNPC");
        } else if (option == QLatin1String("--negative")) {
            f.dialogs.inputs << value;
            f.trigger("mnuFileNeg");
        } else if (option == QLatin1String("--rearrange")) {
            f.dialogs.inputs << value;
            f.trigger("mnuFileArrange");
        } else if (option == QLatin1String("--replace")) {
            const QStringList colours = value.split(u':');
            const image::Colour from = image::fromPixel(QColor(colours.value(0)).rgb());
            const image::Surface& view = f.viewport()->surface();
            QPoint at(-1, -1);
            for (int y = 0; y < view.height() && at.x() < 0; ++y)
                for (int x = 0; x < view.width() && at.x() < 0; ++x)
                    if (image::GetPixel(view, x, y) == from)
                        at = QPoint(x, y);
            f.trigger("mnuFileChange");
            f.dialogs.colours.enqueue(image::fromPixel(QColor(colours.value(1)).rgb()));
            f.mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
        }
    }
    return {toImage(f.window->workingImage()), f.dialogs.messages()};
}
