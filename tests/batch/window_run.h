// SPDX-License-Identifier: MIT
#pragma once

#include "shell/window_fixture.h"
#include "operations/operation_table.h"

#include <QColor>
#include <QLineEdit>
#include <QPushButton>

// What the window made of a sheet, and the messages it showed on the way.
struct WindowRun {
    QImage picture;
    QStringList messages;
};

// Runs `operation` through its window command with the answer pixmold-batch takes as
// `value`: its pieces between commas typed into the prompts, one a prompt (the whole
// value where there is one prompt); for an operation that picks a colour, a press on
// the view's first pixel of the value's first colour, the second chosen in the dialog.
inline void operateThroughWindow(WindowFixture& f, const ops::Operation& operation, const QString& value)
{
    const qsizetype prompts = operation.window.prompts.size();
    f.dialogs.inputs << (prompts > 1 ? value.split(u',') : prompts == 1 ? QStringList{value} : QStringList{});
    f.trigger(qPrintable(operation.window.objectName));
    if (!operation.window.picksColour)
        return;
    const QList<image::Colour> colours = operation.option.read(value)->colours;
    const image::Surface& view = f.viewport()->surface();
    QPoint at(-1, -1);
    for (int y = 0; y < view.height() && at.x() < 0; ++y)
        for (int x = 0; x < view.width() && at.x() < 0; ++x)
            if (image::GetPixel(view, x, y) == colours.value(0))
                at = QPoint(x, y);
    f.dialogs.colours.enqueue(colours.value(1));
    f.mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
}

// Gives the window the answers that pixmold-batch options carry ("--npc", "2,4", ...):
// the same texts typed into its prompts and Options panel, or the colours picked.
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
        } else if (const ops::Operation* operation = ops::operationForOption(QStringView(option).sliced(2))) {
            operateThroughWindow(f, *operation, value);
        }
    }
    return {toImage(f.window->workingImage()), f.dialogs.messages()};
}
