// SPDX-License-Identifier: MIT
#include "shell/main_window.h"
#include "shell/qt_dialog_service.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pixmold"));
    QApplication::setApplicationVersion(QStringLiteral(PIXMOLD_VERSION));
    // Desktops match the window to its launcher and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(PIXMOLD_APP_ID));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Prepares game sprite sheets."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A picture to open; of several, the first."),
                                 QStringLiteral("[FILE...]"));
    parser.process(app);

    shell::QtDialogService dialogs;
    shell::Main window(dialogs);
    dialogs.setParent(&window);

    if (const QScreen* screen = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    window.show();
    if (const QStringList files = parser.positionalArguments(); !files.isEmpty())
        window.openPicture(files.constFirst());
    return QApplication::exec();
}
