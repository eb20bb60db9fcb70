// SPDX-License-Identifier: MIT
// Every operation of the table is complete, and pixmold-batch offers and documents it.
#include "batch/batch_help.h"
#include "operations/operation_table.h"

#include <QCommandLineParser>
#include <QFile>
#include <QSet>
#include <QtTest>

namespace {

QString manualPage()
{
    QFile page(QStringLiteral(PIXMOLD_MANUAL_PAGE));
    if (!page.open(QIODevice::ReadOnly))
        return {};
    // As a reader sees it: roff's escaped hyphens and font changes undone.
    QString text = QString::fromUtf8(page.readAll());
    text.replace(QLatin1String("\\-"), QLatin1String("-"));
    static const QRegularExpression fonts(QStringLiteral("\\\\f[BIRP]"));
    return text.remove(fonts);
}

} // namespace

class tst_OperationTable : public QObject {
    Q_OBJECT

private slots:
    // Complete, and no name, object, shortcut, access key or menu place taken twice.
    void everyEntryIsCompleteAndItsOwn()
    {
        const auto& table = ops::operationTable();
        QVERIFY(!table.isEmpty());
        QSet<int> positions;
        QSet<QString> options;
        QSet<QString> objects;
        QSet<QKeySequence> shortcuts;
        QSet<QChar> accessKeys;
        for (const ops::Operation* operation : table) {
            const QString name = operation->name;
            QVERIFY2(!name.isEmpty(), "an operation without a name");
            const ops::WindowCommand& command = operation->window;
            QVERIFY2(command.caption.count(u'&') == 1, qPrintable(name));
            QVERIFY2(!command.objectName.isEmpty() && !command.shortcut.isEmpty(), qPrintable(name));
            positions.insert(command.menuPosition);
            options.insert(operation->option.name);
            objects.insert(command.objectName);
            shortcuts.insert(command.shortcut);
            accessKeys.insert(command.caption.at(command.caption.indexOf(u'&') + 1).toLower());
            QCOMPARE(ops::operationForOption(operation->option.name), operation);
            // Each asks for what it works with, and reads it.
            QVERIFY2(!command.prompts.isEmpty() || command.picksColour, qPrintable(name));
            QVERIFY2(command.readAnswers && operation->run && operation->gridAfter, qPrintable(name));
            for (const ops::Prompt& prompt : command.prompts)
                QVERIFY2(!prompt.text.isEmpty() && !prompt.title.isEmpty(), qPrintable(name));

            const ops::CommandLineOption& option = operation->option;
            // An option without a value of its own takes --tolerance's.
            QVERIFY2((!option.valueName.isEmpty() || operation->readsTolerance) && !option.summary.isEmpty(),
                     qPrintable(name));
            QVERIFY2(option.help.endsWith(u'\n')
                         && option.help.contains(QLatin1String("Example: pixmold-batch --") + option.name),
                     qPrintable(name));
            QVERIFY2(option.read && option.warnings, qPrintable(name));
            QCOMPARE(option.countNames.size(), option.autoAxes.size());

            QVERIFY2(!operation->milestones.isEmpty() && operation->milestones.first() == 0, qPrintable(name));
            QVERIFY(std::is_sorted(operation->milestones.cbegin(), operation->milestones.cend()));
        }
        // The menu holds each at a place of its own, with no gap.
        for (int i = 0; i < table.size(); ++i)
            QVERIFY(positions.contains(i));
        const qsizetype count = table.size();
        QCOMPARE(options.size(), count);
        QCOMPARE(objects.size(), count);
        QCOMPARE(shortcuts.size(), count);
        QCOMPARE(accessKeys.size(), count);
        // No operation takes the name of another option.
        for (const QString& other :
             {batch::option::kOutput, batch::option::kOutDir, batch::option::kInPlace, batch::option::kFormat,
              batch::option::kSkipExisting, batch::option::kJobs, batch::option::kQuiet, batch::option::kSpriteSize,
              batch::option::kGrid, batch::option::kDetect, batch::option::kHelp, batch::option::kVersion,
              batch::option::kTolerance, batch::option::kKey, batch::option::kAlphaThreshold, batch::option::kPalette})
            QVERIFY2(!options.contains(other), qPrintable(other));
    }

    void everyOptionIsDocumented()
    {
        QCommandLineParser parser;
        batch::describeOptions(parser);
        const QString help = batch::helpText(parser);
        const QString manual = manualPage();
        if (manual.isEmpty())
            QSKIP("the manual page is not at hand");
        for (const ops::Operation* operation : ops::operationTable()) {
            const QString option = QStringLiteral("--") + operation->option.name;
            const QString value = operation->option.valueName;
            QVERIFY2(help.contains(value.isEmpty() ? QStringLiteral("  %1 ").arg(option)
                                                   : QStringLiteral("%1 <%2>").arg(option, value)),
                     qPrintable(option));
            QVERIFY2(help.contains(value.isEmpty() ? QStringLiteral("  %1\n").arg(option)
                                                   : QStringLiteral("  %1 %2\n").arg(option, value)),
                     qPrintable(option));
            QVERIFY2(manual.contains(option), qPrintable(option));
        }
        QVERIFY(help.contains(QLatin1String("--grid <ROWSxCOLUMNS>")));
        QVERIFY(manual.contains(QLatin1String("--grid")));
    }
};

QTEST_GUILESS_MAIN(tst_OperationTable)
#include "operation_table_test.moc"
