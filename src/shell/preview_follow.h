// SPDX-License-Identifier: MIT
#pragma once

namespace shell {

class AnimationPreview;
class SheetDocument;
class SheetView;

// Keeps the preview on the document's sheet: never read while an operation runs, taken
// anew once one ended and after a load, an undo or a redo; the row played is the one
// last clicked in the view.
void followDocument(AnimationPreview& preview, const SheetDocument& document, const SheetView& view);

} // namespace shell
