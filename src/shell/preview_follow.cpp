// SPDX-License-Identifier: MIT
#include "preview_follow.h"

#include "animation_preview.h"
#include "sheet_document.h"
#include "sheet_view.h"
#include "viewport.h"
#include "operations/sheet_cells.h"

namespace shell {

void followDocument(AnimationPreview& preview, const SheetDocument& document, const SheetView& view)
{
    const auto follow = [&preview, &document] { preview.showSheet(document.picture(), document.grid()); };
    QObject::connect(&document, &SheetDocument::busyChanged, &preview, [&preview, follow](bool busy) {
        preview.setOperationRunning(busy);
        if (!busy)
            follow();
    });
    QObject::connect(&document, &SheetDocument::gridChanged, &preview, [&document, follow] {
        if (!document.busy())
            follow();
    });
    QObject::connect(view.viewport(), &Viewport::pressed, &preview, [&preview, &document, &view](QPointF position) {
        const std::optional<QPoint> pixel = view.pickAt(position);
        if (pixel && !document.busy()) {
            const image::Surface& sheet = document.picture();
            preview.setRow(ops::SheetCells(QSize(sheet.width(), sheet.height()), document.grid()).rowAt(pixel->y()));
        }
    });
}

} // namespace shell
