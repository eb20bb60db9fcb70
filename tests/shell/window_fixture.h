// SPDX-License-Identifier: MIT
#pragma once

#include "support/scripted_dialogs.h"
#include "shell/main_window.h"
#include "shell/viewport.h"
#include "image/raster.h"
#include "support/colour_text.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

// The child of `parent` called `name`; the test fails where there is none.
template <typename T> T* childNamed(const QObject& parent, const char* name)
{
    T* found = parent.findChild<T*>(QLatin1String(name));
    if (!found)
        QTest::qFail(name, __FILE__, __LINE__);
    return found;
}

// A shown window with scripted dialogs, and the ways a user reaches its commands.
struct WindowFixture {
    ScriptedDialogs dialogs;
    std::unique_ptr<shell::Main> window;
    QTemporaryDir folder;

    WindowFixture() : window(std::make_unique<shell::Main>(dialogs))
    {
        window->show();
        QCoreApplication::processEvents();
    }

    template <typename T> T* control(const char* name) const { return childNamed<T>(*window, name); }

    void trigger(const char* action) { control<QAction>(action)->trigger(); }

    shell::Viewport* viewport() const { return control<shell::Viewport>("picPic"); }
    QScrollBar* hScroll() const { return control<QScrollBar>("HScroll1"); }
    QScrollBar* vScroll() const { return control<QScrollBar>("VScroll1"); }
    QProgressBar* progressBar() const { return control<QProgressBar>("PB"); }
    QString caption() const { return control<QLabel>("lblCurImage")->text(); }
    QString readout() const { return control<QLabel>("lblcoords")->text(); }

    // Writes `picture` in the test's folder, in the format its name ends with, and loads it through the menu.
    QString load(const QImage& picture, const QString& name = QStringLiteral("sheet.bmp"))
    {
        const QString path = folder.filePath(name);
        if (!picture.isNull())
            picture.save(path);
        dialogs.files.enqueue(path);
        trigger("mnuFileLoad");
        return path;
    }

    // A press or move on the viewport at a point of its surface (inside the border).
    void mouse(QEvent::Type type, QPointF at, Qt::MouseButton button = Qt::NoButton)
    {
        const QPointF local = at + QPointF(shell::Viewport::kBorder, shell::Viewport::kBorder);
        // A move reports the buttons held, a press the button pressed as well.
        const Qt::MouseButton changed = type == QEvent::MouseMove ? Qt::NoButton : button;
        QMouseEvent event(type, local, viewport()->mapToGlobal(local), changed, button, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport(), &event);
    }
};

// A picture whose every pixel has its own colour, so that any misplaced pixel shows.
inline QImage patternPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x * 7 + y * 13) & 0xFF));
    return picture;
}

inline QImage toImage(const image::Surface& surface)
{
    return surface.picture().copy();
}
