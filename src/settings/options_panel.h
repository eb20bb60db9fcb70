// SPDX-License-Identifier: MIT
#pragma once

#include "sprite_size.h"

#include <QGroupBox>
#include <QString>
#include <array>

class QLineEdit;

namespace settings {

// The Options panel (`OpsFrame`): edits the window's sprite cell size in place, inside
// the window rather than as a dialog. Hidden at construction. The two text boxes are a
// free-text buffer: they reach the size only through "Done", and only "Cancel" rewrites
// them from it.
class OptionsPanel : public QGroupBox {
    Q_OBJECT

public:
    // `size` is the window's stored size; it must outlive the panel.
    OptionsPanel(SpriteSize& size, QWidget* parent);

    // Shows the panel, nothing more: the texts stay as they were left, focus stays put.
    void open();

    // The panel's own visibility flag, true even while the window itself is not shown.
    bool isOpen() const;

public slots:
    // The click handler of both buttons: 0 "Done" stores the texts' size and closes
    // (or emits refused() and stays open with the size unchanged); 1 "Cancel" rewrites
    // the texts from the size and closes; any other index does nothing.
    void cmdOpsClick(int index);

signals:
    // "Done" could not store the typed size; the message is for the user.
    void refused(const QString& message);

private:
    void accept();
    void discard();

    SpriteSize& m_size;
    std::array<QLineEdit*, 2> m_dims{};
};

} // namespace settings
