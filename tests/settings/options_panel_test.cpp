// SPDX-License-Identifier: MIT
#include "settings/options_panel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using settings::OptionsPanel;
using settings::SpriteSize;

// The panel sits in a window that is never shown, as in a headless run.
class tst_OptionsPanel : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsClosedWithStartTexts();
    void layoutInPixels_data();
    void layoutInPixels();
    void tabOrder();
    void neitherButtonIsDefault();
    void openIsTheFlagNotScreenVisibility();
    void openWhileOpenKeepsTexts();
    void doneStoresFlooredValues_data();
    void doneStoresFlooredValues();
    void doneRefusesWhatCannotBeStored_data();
    void doneRefusesWhatCannotBeStored();
    void doneKeepsTypedTextUntilCancel();
    void cancelRestoresTexts();
    void otherIndexDoesNothing();

private:
    QLineEdit* dim(int index) const;
    QPushButton* button(int index) const;
    void type(const QString& width, const QString& height);

    std::unique_ptr<QWidget> m_window;
    SpriteSize m_size;
    OptionsPanel* m_panel = nullptr;
};

void tst_OptionsPanel::init()
{
    m_window = std::make_unique<QWidget>();
    m_size = SpriteSize{};
    m_panel = new OptionsPanel(m_size, m_window.get());
}

void tst_OptionsPanel::cleanup()
{
    m_window.reset();
    m_panel = nullptr;
}

QLineEdit* tst_OptionsPanel::dim(int index) const
{
    return m_panel->findChild<QLineEdit*>(QStringLiteral("txtDim_%1").arg(index));
}

QPushButton* tst_OptionsPanel::button(int index) const
{
    return m_panel->findChild<QPushButton*>(QStringLiteral("cmdOps_%1").arg(index));
}

void tst_OptionsPanel::type(const QString& width, const QString& height)
{
    dim(0)->setText(width);
    dim(1)->setText(height);
}

void tst_OptionsPanel::startsClosedWithStartTexts()
{
    QCOMPARE(m_panel->objectName(), QStringLiteral("OpsFrame"));
    QCOMPARE(m_panel->title(), QStringLiteral("Options"));
    QVERIFY(!m_panel->isOpen());
    QCOMPARE(dim(0)->text(), QStringLiteral("24"));
    QCOMPARE(dim(1)->text(), QStringLiteral("48"));
    QCOMPARE(button(0)->text(), QStringLiteral("Done"));
    QCOMPARE(button(1)->text(), QStringLiteral("Cancel"));
    QCOMPARE(m_panel->findChild<QLabel*>("Label3_0")->text(), QStringLiteral("Sprite Width:"));
    QCOMPARE(m_panel->findChild<QLabel*>("Label3_1")->text(), QStringLiteral("Sprite Height:"));
}

void tst_OptionsPanel::layoutInPixels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");

    // The design's twips divided by 15.
    QTest::newRow("frame") << "OpsFrame" << QRect(8, 16, 169, 81);
    QTest::newRow("width label") << "Label3_0" << QRect(8, 16, 81, 17);
    QTest::newRow("width box") << "txtDim_0" << QRect(80, 16, 81, 19);
    QTest::newRow("height label") << "Label3_1" << QRect(8, 40, 81, 17);
    QTest::newRow("height box") << "txtDim_1" << QRect(80, 40, 81, 19);
    QTest::newRow("cancel") << "cmdOps_1" << QRect(24, 64, 57, 13);
    QTest::newRow("done") << "cmdOps_0" << QRect(88, 64, 57, 13);
}

void tst_OptionsPanel::layoutInPixels()
{
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    QWidget* widget = name == m_panel->objectName() ? m_panel : m_panel->findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), rect);
}

void tst_OptionsPanel::tabOrder()
{
    QStringList order;
    QWidget* widget = button(1);
    do {
        if (m_panel->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus))
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != button(1));

    QCOMPARE(order, (QStringList{"cmdOps_1", "cmdOps_0", "txtDim_0", "txtDim_1"}));
}

void tst_OptionsPanel::neitherButtonIsDefault()
{
    for (int i = 0; i < 2; ++i) {
        QVERIFY(!button(i)->autoDefault());
        QVERIFY(!button(i)->isDefault());
    }
    m_window->show();
    m_panel->open();
    type(QStringLiteral("30"), QStringLiteral("60"));
    dim(0)->setFocus();
    QTest::keyClick(dim(0), Qt::Key_Return);
    QTest::keyClick(dim(0), Qt::Key_Escape);
    QVERIFY(m_panel->isOpen());
    QCOMPARE(m_size.width, 24.0);
    QCOMPARE(dim(0)->text(), QStringLiteral("30"));
}

void tst_OptionsPanel::openIsTheFlagNotScreenVisibility()
{
    m_panel->open();
    QVERIFY(!m_panel->isVisible());
    QVERIFY(m_panel->isOpen());
}

void tst_OptionsPanel::openWhileOpenKeepsTexts()
{
    m_panel->open();
    type(QStringLiteral("31"), QStringLiteral("abc"));
    m_panel->open();
    QVERIFY(m_panel->isOpen());
    QCOMPARE(dim(0)->text(), QStringLiteral("31"));
    QCOMPARE(dim(1)->text(), QStringLiteral("abc"));
}

void tst_OptionsPanel::doneStoresFlooredValues_data()
{
    QTest::addColumn<QString>("widthText");
    QTest::addColumn<QString>("heightText");
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("height");

    QTest::newRow("start texts") << "24"
                                 << "48" << 24.0 << 48;
    QTest::newRow("floor of fractions") << "31.7"
                                        << "-0.5" << 31.0 << -1;
    QTest::newRow("floor of a negative half") << "-2.5"
                                              << "2.9" << -3.0 << 2;
    QTest::newRow("no number reads 0") << "abc"
                                       << "" << 0.0 << 0;
    QTest::newRow("unit after number") << " 30px"
                                       << "48 " << 30.0 << 48;
    QTest::newRow("height limits, high") << "1"
                                         << "32767.9" << 1.0 << 32767;
    QTest::newRow("height limits, low") << "1"
                                        << "-32768" << 1.0 << -32768;
    QTest::newRow("width beyond any height") << "1e20"
                                             << "&H10" << 1e20 << 16;
}

void tst_OptionsPanel::doneStoresFlooredValues()
{
    QFETCH(QString, widthText);
    QFETCH(QString, heightText);
    QFETCH(double, width);
    QFETCH(int, height);

    QSignalSpy refused(m_panel, &OptionsPanel::refused);
    m_panel->open();
    type(widthText, heightText);
    button(0)->click();

    QVERIFY(!m_panel->isOpen());
    QCOMPARE(refused.count(), 0);
    QCOMPARE(m_size.width, width);
    QCOMPARE(int(m_size.height), height);
    // "Done" leaves the texts as typed.
    QCOMPARE(dim(0)->text(), widthText);
    QCOMPARE(dim(1)->text(), heightText);
}

void tst_OptionsPanel::doneRefusesWhatCannotBeStored_data()
{
    QTest::addColumn<QString>("widthText");
    QTest::addColumn<QString>("heightText");

    QTest::newRow("height 40000") << "24"
                                  << "40000";
    QTest::newRow("height just above") << "24"
                                       << "32768";
    QTest::newRow("height floor just below") << "24"
                                             << "-32768.5";
    QTest::newRow("height beyond double") << "24"
                                          << "1e400";
    QTest::newRow("width beyond double") << "1e400"
                                         << "48";
    QTest::newRow("negative width beyond double") << "-1e400"
                                                  << "48";
}

void tst_OptionsPanel::doneRefusesWhatCannotBeStored()
{
    QFETCH(QString, widthText);
    QFETCH(QString, heightText);

    m_size = SpriteSize{30, 60};
    QSignalSpy refused(m_panel, &OptionsPanel::refused);
    m_panel->open();
    type(widthText, heightText);
    m_panel->cmdOpsClick(0);

    QCOMPARE(refused.count(), 1);
    QVERIFY(!refused.at(0).at(0).toString().isEmpty());
    QVERIFY(m_panel->isOpen());
    QCOMPARE(m_size.width, 30.0);
    QCOMPARE(int(m_size.height), 60);
    QCOMPARE(dim(0)->text(), widthText);
    QCOMPARE(dim(1)->text(), heightText);
}

void tst_OptionsPanel::doneKeepsTypedTextUntilCancel()
{
    m_panel->open();
    type(QStringLiteral(" 30px"), QStringLiteral("abc"));
    button(0)->click();
    QCOMPARE(m_size.width, 30.0);
    QCOMPARE(int(m_size.height), 0);

    m_panel->open();
    QCOMPARE(dim(0)->text(), QStringLiteral(" 30px"));
    QCOMPARE(dim(1)->text(), QStringLiteral("abc"));

    button(1)->click();
    QVERIFY(!m_panel->isOpen());
    QCOMPARE(dim(0)->text(), QStringLiteral("30"));
    QCOMPARE(dim(1)->text(), QStringLiteral("0"));
}

void tst_OptionsPanel::cancelRestoresTexts()
{
    m_panel->open();
    type(QStringLiteral("99"), QStringLiteral("-7"));
    button(1)->click();

    QVERIFY(!m_panel->isOpen());
    QCOMPARE(m_size.width, 24.0);
    QCOMPARE(int(m_size.height), 48);
    QCOMPARE(dim(0)->text(), QStringLiteral("24"));
    QCOMPARE(dim(1)->text(), QStringLiteral("48"));

    m_size = SpriteSize{-1e20, -32768};
    m_panel->open();
    button(1)->click();
    QCOMPARE(dim(0)->text(), QStringLiteral("-1e+20"));
    QCOMPARE(dim(1)->text(), QStringLiteral("-32768"));
}

void tst_OptionsPanel::otherIndexDoesNothing()
{
    m_panel->open();
    type(QStringLiteral("5"), QStringLiteral("6"));
    m_panel->cmdOpsClick(2);
    m_panel->cmdOpsClick(-1);
    QVERIFY(m_panel->isOpen());
    QCOMPARE(dim(0)->text(), QStringLiteral("5"));
    QCOMPARE(m_size.width, 24.0);
}

QTEST_MAIN(tst_OptionsPanel)
#include "options_panel_test.moc"
