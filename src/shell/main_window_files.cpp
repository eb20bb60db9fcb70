// SPDX-License-Identifier: MIT
// A sheet taken as loaded, and pictures dropped on the window.
#include "main_window.h"

#include "window_layout.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

namespace shell {

namespace {

// The first local file among dropped URLs, or the empty text.
QString droppedFile(const QMimeData& data)
{
    for (const QUrl& url : data.urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return {};
}

} // namespace

// The sheet read from `path` (or joined from frames, the first at `path`) is shown as
// loaded: its name in the label, its size remembered, the view at its corner.
void Main::showLoaded(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    m_lblCurImage->setText(name);
    m_lblCurImage->setToolTip(name);
    m_state.ImageWidth = float(workingImage().width()) * kTwipsPerPixel;
    m_state.ImageHeight = float(workingImage().height()) * kTwipsPerPixel;
    m_view->showCorner();
}

// A picture dropped from a file manager is opened as the load command opens it, under
// the same guards; of several, the first.
void Main::dragEnterEvent(QDragEnterEvent* event)
{
    if (!commandsSilenced() && !droppedFile(*event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Main::dropEvent(QDropEvent* event)
{
    const QString path = droppedFile(*event->mimeData());
    if (commandsSilenced() || path.isEmpty())
        return;
    event->acceptProposedAction();
    openPicture(path);
}

} // namespace shell
