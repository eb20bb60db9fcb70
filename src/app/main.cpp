// SPDX-License-Identifier: MIT
#include "shell/main_window.h"
#include "shell/qt_dialog_service.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pixmold"));
    QApplication::setApplicationVersion(QStringLiteral(PIXMOLD_VERSION));

    shell::QtDialogService dialogs;
    shell::Main window(dialogs);
    dialogs.setParent(&window);

    if (const QScreen* screen = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    window.show();
    return QApplication::exec();
}
