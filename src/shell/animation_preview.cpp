// SPDX-License-Identifier: MIT
#include "animation_preview.h"

#include "frame_canvas.h"
#include "zoom_factors.h"
#include "image/animated_gif.h"
#include "image/play_order.h"
#include "operations/message_title.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace shell {

namespace {

constexpr int kStartFramesPerSecond = 10;

} // namespace

AnimationPreview::AnimationPreview(DialogService& dialogs, int zoom, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_dialogs(dialogs), m_clock(kStartFramesPerSecond)
{
    setWindowTitle(QStringLiteral("Preview Animation"));
    buildControls(zoom);
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &AnimationPreview::showDueFrame);
    takeRow();
}

void AnimationPreview::buildControls(int zoom)
{
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("previewMessage"));
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);

    m_canvas = new FrameCanvas;
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_canvas);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setMinimumSize(160, 160);

    m_row = new QSpinBox(this);
    m_row->setObjectName(QStringLiteral("previewRow"));
    m_row->setRange(1, 1);
    connect(m_row, &QSpinBox::valueChanged, this, &AnimationPreview::takeRow);

    m_fps = new QSpinBox(this);
    m_fps->setObjectName(QStringLiteral("previewFps"));
    m_fps->setRange(image::kMinFramesPerSecond, image::kMaxFramesPerSecond);
    m_fps->setValue(kStartFramesPerSecond);
    connect(m_fps, &QSpinBox::valueChanged, this, [this](int fps) {
        m_clock.setFramesPerSecond(fps);
        showDueFrame();
    });

    m_pingPong = new QCheckBox(QStringLiteral("Ping-pong"), this);
    m_pingPong->setObjectName(QStringLiteral("previewPingPong"));
    connect(m_pingPong, &QCheckBox::toggled, this, [this](bool on) {
        m_order = image::playOrder(int(m_rowCells.size()), on);
        showDueFrame();
    });

    m_zoom = new QComboBox(this);
    m_zoom->setObjectName(QStringLiteral("previewZoom"));
    for (int factor : kZoomFactors)
        m_zoom->addItem(QStringLiteral("%1 %").arg(factor * 100), factor);
    setZoom(zoom);
    connect(m_zoom, &QComboBox::currentIndexChanged, this, [this] { takeRow(); });

    m_export = new QPushButton(QStringLiteral("Export GIF…"), this);
    m_export->setObjectName(QStringLiteral("previewExport"));
    m_export->setAutoDefault(false);
    connect(m_export, &QPushButton::clicked, this, &AnimationPreview::exportGif);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Row"), m_row);
    form->addRow(QStringLiteral("Frames per second"), m_fps);
    form->addRow(QString(), m_pingPong);
    form->addRow(QStringLiteral("Zoom"), m_zoom);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_message, 1);
    layout->addWidget(m_scroll, 1);
    layout->addLayout(form);
    layout->addWidget(m_export);
}

void AnimationPreview::showSheet(const image::Surface& sheet, const ops::CellGrid& grid)
{
    m_sheet = sheet;
    m_cells = ops::SheetCells(QSize(sheet.width(), sheet.height()), grid);
    takeRow();
}

void AnimationPreview::setOperationRunning(bool running)
{
    m_operationRunning = running;
    if (running)
        m_timer.stop();
    m_export->setEnabled(!running && !m_rowCells.isEmpty());
    showDueFrame();
}

void AnimationPreview::setRow(int row)
{
    if (row >= 0 && row < m_cells.rowCount())
        m_row->setValue(row + 1);
}

int AnimationPreview::row() const
{
    return m_row->value() - 1;
}

void AnimationPreview::setZoom(int factor)
{
    // A factor between the list's shows at the next smaller one.
    const auto* at = std::upper_bound(kZoomFactors.begin(), kZoomFactors.end(), factor);
    m_zoom->setCurrentIndex(int(std::max(at - kZoomFactors.begin() - 1, std::ptrdiff_t(0))));
}

void AnimationPreview::showBeside(const QWidget& window, int zoom)
{
    setZoom(zoom);
    adjustSize();
    QRect placed(window.frameGeometry().topRight() + QPoint(8, 0), frameGeometry().size());
    const QRect screen = window.screen()->availableGeometry();
    if (placed.right() > screen.right())
        placed.moveRight(window.frameGeometry().left() - 8);
    placed.moveLeft(std::max(placed.left(), screen.left()));
    move(placed.topLeft());
    show();
}

void AnimationPreview::setKey(image::Colour key, bool asCheckerboard)
{
    m_key = key;
    m_canvas->setKey(key, asCheckerboard);
}

// Takes the row's cells from the sheet last given, after any change of sheet, row or zoom.
void AnimationPreview::takeRow()
{
    const bool noGrid = m_cells.isEmpty();
    m_message->setVisible(noGrid);
    m_scroll->setVisible(!noGrid);
    m_message->setText(m_sheet.picture().isNull()
                           ? QStringLiteral("No sheet is loaded: there is nothing to play.")
                           : QStringLiteral("The sheet has no cell grid: there are no frames to play."));
    {
        const QSignalBlocker quiet(m_row);
        const int row = this->row() < m_cells.rowCount() ? this->row() : 0;
        m_row->setRange(1, std::max(1, m_cells.rowCount()));
        m_row->setValue(row + 1);
    }
    m_row->setEnabled(m_cells.rowCount() > 1);
    m_rowCells = m_cells.row(row());
    m_order = image::playOrder(int(m_rowCells.size()), m_pingPong->isChecked());
    QSize area(0, 0);
    for (const QRect& cell : std::as_const(m_rowCells))
        area = area.expandedTo(cell.size());
    m_canvas->setArea(area, m_zoom->currentData().toInt());
    m_export->setEnabled(!m_operationRunning && !m_rowCells.isEmpty());
    m_frameStale = true;
    if (m_rowCells.isEmpty()) {
        m_shownCell = -1;
        m_canvas->setFrame(QImage());
    }
    showDueFrame();
}

// Shows the frame the clock says is due, then waits for the next one.
void AnimationPreview::showDueFrame()
{
    if (m_operationRunning || m_order.isEmpty())
        return;
    const int cell = m_order[int(m_clock.tick() % m_order.size())];
    if (cell != m_shownCell || m_frameStale) {
        m_shownCell = cell;
        m_frameStale = false;
        m_canvas->setFrame(m_sheet.picture().copy(m_rowCells[cell]));
    }
    if (isVisible() && m_order.size() > 1)
        m_timer.start(m_clock.millisecondsToNextTick());
}

void AnimationPreview::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up)
        setRow(row() - 1);
    else if (event->key() == Qt::Key_Down)
        setRow(row() + 1);
    else
        QWidget::keyPressEvent(event);
}

void AnimationPreview::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    emit closed();
}

void AnimationPreview::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    showDueFrame();
}

void AnimationPreview::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_timer.stop();
}

void AnimationPreview::exportGif()
{
    if (m_operationRunning || m_rowCells.isEmpty())
        return;
    FileDialogSettings settings;
    settings.filters = {QStringLiteral("GIF (*.gif)")};
    settings.defaultSuffix = QStringLiteral("gif");
    settings.startPath = m_lastExport;
    const QString path = m_dialogs.saveFile(settings);
    if (path.isEmpty())
        return;
    const image::AnimatedRow animated{m_rowCells, m_key, m_fps->value(), m_pingPong->isChecked()};
    if (const auto written = image::writeAnimatedGif(m_sheet, animated, path); !written)
        m_dialogs.message(written.error(), Buttons::Ok, ops::kMessageTitle);
    else
        m_lastExport = path;
}

} // namespace shell
