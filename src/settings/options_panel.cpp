// SPDX-License-Identifier: MIT
#include "options_panel.h"

#include "number_text.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace settings {

namespace {

// The panel is drawn in twips, 15 to the pixel. Nearest pixel; with an odd divisor
// there is never a half to break.
constexpr int px(int twips)
{
    return (2 * twips + 15) / 30;
}
static_assert(px(2535) == 169 && px(22) == 1 && px(23) == 2);

constexpr QRect twipRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

} // namespace

OptionsPanel::OptionsPanel(SpriteSize& size, QWidget* parent)
    : QGroupBox(QStringLiteral("Options"), parent), m_size(size)
{
    setObjectName(QStringLiteral("OpsFrame"));
    setGeometry(twipRect(120, 240, 2535, 1215));

    const QString captions[2] = {QStringLiteral("Sprite Width:"), QStringLiteral("Sprite Height:")};
    const QString startTexts[2] = {QStringLiteral("24"), QStringLiteral("48")};
    const int rowTops[2] = {240, 600};
    for (int i = 0; i < 2; ++i) {
        auto* label = new QLabel(captions[i], this);
        label->setObjectName(QStringLiteral("Label3_%1").arg(i));
        label->setGeometry(twipRect(120, rowTops[i], 1215, 255));

        m_dims[i] = new QLineEdit(startTexts[i], this);
        m_dims[i]->setObjectName(QStringLiteral("txtDim_%1").arg(i));
        m_dims[i]->setGeometry(twipRect(1200, rowTops[i], 1215, 285));
    }

    const QString buttonCaptions[2] = {QStringLiteral("Done"), QStringLiteral("Cancel")};
    const int buttonLefts[2] = {1320, 360}; // "Cancel" stands left of "Done"
    std::array<QPushButton*, 2> buttons{};
    for (int i = 0; i < 2; ++i) {
        buttons[i] = new QPushButton(buttonCaptions[i], this);
        buttons[i]->setObjectName(QStringLiteral("cmdOps_%1").arg(i));
        buttons[i]->setGeometry(twipRect(buttonLefts[i], 960, 855, 195));
        // Enter and Escape must not close the panel behind the user's back.
        buttons[i]->setAutoDefault(false);
        buttons[i]->setDefault(false);
        connect(buttons[i], &QPushButton::clicked, this, [this, i] { cmdOpsClick(i); });
    }

    setTabOrder(buttons[1], buttons[0]);
    setTabOrder(buttons[0], m_dims[0]);
    setTabOrder(m_dims[0], m_dims[1]);

    hide();
}

void OptionsPanel::open()
{
    show();
}

bool OptionsPanel::isOpen() const
{
    return !isHidden();
}

void OptionsPanel::cmdOpsClick(int index)
{
    if (index == 0)
        accept();
    else if (index == 1)
        discard();
}

void OptionsPanel::accept()
{
    const auto read = readSpriteSize(m_dims[0]->text(), m_dims[1]->text());
    if (!read) {
        emit refused(read.error());
        return;
    }
    m_size = *read;
    hide();
}

void OptionsPanel::discard()
{
    m_dims[0]->setText(shortestText(m_size.width));
    m_dims[1]->setText(QString::number(m_size.height));
    hide();
}

} // namespace settings
