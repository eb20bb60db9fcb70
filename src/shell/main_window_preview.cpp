// SPDX-License-Identifier: MIT
// The animation preview beside the window: it plays a row of the sheet in the document
// and follows it, and the row last clicked in the viewport.
#include "main_window.h"

#include "animation_preview.h"
#include "viewport.h"
#include "operations/sheet_cells.h"

#include <QAction>
#include <QScreen>

#include <algorithm>

namespace shell {

void Main::buildPreview()
{
    m_preview = new AnimationPreview(m_dialogs, m_view->zoom(), this);
    m_preview->setObjectName(QStringLiteral("preview"));
    connect(m_preview, &AnimationPreview::closed, this, [this] { m_mnuViewPreview->setChecked(false); });
    // It never reads the sheet while an operation runs, and takes it anew once it ended,
    // as after a load, an undo or a redo.
    connect(m_document, &SheetDocument::busyChanged, this, [this](bool busy) {
        m_preview->setOperationRunning(busy);
        if (!busy)
            followSheet();
    });
    connect(m_document, &SheetDocument::gridChanged, this, [this] {
        if (!m_document->busy())
            followSheet();
    });
    connect(m_view->viewport(), &Viewport::pressed, this, [this](QPointF position) {
        const std::optional<QPoint> pixel = m_view->pickAt(position);
        if (pixel && !m_document->busy()) {
            const image::Surface& sheet = m_document->picture();
            m_preview->setRow(
                ops::SheetCells(QSize(sheet.width(), sheet.height()), m_document->grid()).rowAt(pixel->y()));
        }
    });
}

// It opens at the view's factor, beside the window.
void Main::showPreview(bool shown)
{
    if (!shown) {
        m_preview->hide();
        return;
    }
    m_preview->setZoom(m_view->zoom());
    m_preview->adjustSize();
    // Right of the window where the screen has room, else left of it.
    QRect placed(frameGeometry().topRight() + QPoint(8, 0), m_preview->frameGeometry().size());
    const QRect screen = this->screen()->availableGeometry();
    if (placed.right() > screen.right())
        placed.moveRight(frameGeometry().left() - 8);
    placed.moveLeft(std::max(placed.left(), screen.left()));
    m_preview->move(placed.topLeft());
    m_preview->show();
}

void Main::followSheet()
{
    m_preview->showSheet(m_document->picture(), m_document->grid());
}

} // namespace shell
