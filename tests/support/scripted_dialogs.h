// SPDX-License-Identifier: MIT
#pragma once

#include "shell/dialog_service.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QTest>
#include <functional>
#include <optional>

// Answers every prompt from a script and records what the window showed. A prompt with
// nothing scripted fails the test: the window asked something the test did not expect.
class ScriptedDialogs final : public shell::DialogService {
public:
    struct Shown {
        QString kind; // "message", "input", "open", "save", "open several", "colour"
        QString text;
        QString title;
    };

    QQueue<shell::Answer> answers; // message boxes (Ok boxes need none)
    QQueue<QString> inputs;        // input boxes
    QQueue<QString> files;         // open and save dialogs
    QQueue<QStringList> fileLists; // open dialogs of several files
    QQueue<std::optional<image::Colour>> colours;
    QQueue<int> saveFilters; // the filter each save dialog ends on; the first where none is given
    QList<Shown> shown;
    QList<shell::FileDialogSettings> fileDialogs;
    int yields = 0;
    std::function<void()> onYield; // runs at every yield, as events a user sends meanwhile

    shell::Answer message(const QString& text, shell::Buttons buttons, const QString& title) override
    {
        shown.append({QStringLiteral("message"), text, title});
        if (buttons == shell::Buttons::Ok)
            return shell::Answer::Ok;
        return take(answers, "message box");
    }

    QString input(const QString& prompt, const QString& title) override
    {
        shown.append({QStringLiteral("input"), prompt, title});
        return take(inputs, "input box");
    }

    QString openFile(const shell::FileDialogSettings& settings) override
    {
        shown.append({QStringLiteral("open"), settings.startPath, {}});
        fileDialogs.append(settings);
        return take(files, "open dialog");
    }

    QString saveFile(const shell::FileDialogSettings& settings) override
    {
        shown.append({QStringLiteral("save"), settings.startPath, {}});
        fileDialogs.append(settings);
        m_lastSaveFilter = saveFilters.isEmpty() ? 0 : saveFilters.dequeue();
        return take(files, "save dialog");
    }

    QStringList openFiles(const shell::FileDialogSettings& settings) override
    {
        shown.append({QStringLiteral("open several"), settings.startPath, {}});
        fileDialogs.append(settings);
        return take(fileLists, "open dialog for several files");
    }
    int lastSaveFilter() const override { return m_lastSaveFilter; }

    std::optional<image::Colour> chooseColour() override
    {
        shown.append({QStringLiteral("colour"), {}, {}});
        return take(colours, "colour dialog");
    }

    // Recorded with the colour it opens on, as hexadecimal 0xBBGGRR.
    std::optional<image::Colour> chooseColourFrom(image::Colour start) override
    {
        shown.append({QStringLiteral("colour"), QString::number(start.bgr(), 16), {}});
        return take(colours, "colour dialog");
    }

    void yield() override
    {
        ++yields;
        if (onYield)
            onYield();
    }

    QStringList messages() const
    {
        QStringList texts;
        for (const Shown& s : shown)
            if (s.kind == QLatin1String("message"))
                texts.append(s.text);
        return texts;
    }

private:
    int m_lastSaveFilter = 0;

    template <typename T> static T take(QQueue<T>& queue, const char* what)
    {
        if (queue.isEmpty()) {
            QTest::qFail(qPrintable(QStringLiteral("unexpected %1").arg(QLatin1String(what))), __FILE__, __LINE__);
            return T{};
        }
        return queue.dequeue();
    }
};
