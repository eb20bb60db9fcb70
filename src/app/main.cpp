// SPDX-License-Identifier: MIT
#include "shell/main_window.h"
#include "shell/qt_dialog_service.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>

#include <cstdio>

namespace {

void nameProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("Pixmold"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PIXMOLD_VERSION));
}

void describeOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral("Prepares game sprite sheets."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A picture to open; of several, the first."),
                                 QStringLiteral("[FILE...]"));
}

// --help and --version need no display: they are answered before the window's
// application starts, as that one aborts the program where it finds none. Returns only
// when the arguments ask for neither (or hold Qt's own options, which only the window's
// application reads).
void answerWithoutDisplay(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    describeOptions(parser);
    if (!parser.parse(arguments) || !(parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("version"))))
        return;
    QCoreApplication app(argc, argv);
    nameProgram();
    parser.process(app); // prints and exits
}

// Where no platform is named and neither X11 nor Wayland is reachable, Qt would end in
// an abort after several lines about plugins.
bool displayKnown(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0)
            return true;
    }
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char* argv[])
{
    answerWithoutDisplay(argc, argv);
    if (!displayKnown(argc, argv)) {
        std::fputs("pixmold: no display: DISPLAY and WAYLAND_DISPLAY are not set; start Pixmold in a desktop "
                   "session.\n",
                   stderr);
        return 1;
    }

    QApplication app(argc, argv);
    nameProgram();
    // Desktops match the window to its launcher and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(PIXMOLD_APP_ID));

    QCommandLineParser parser;
    describeOptions(parser);
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
