// SPDX-License-Identifier: MIT
#include "decoder_messages.h"

#include <QtGlobal>

#include <mutex>

namespace image {

namespace {

thread_local DecoderMessages* t_current = nullptr;
QtMessageHandler g_previous = nullptr;

void keepOrPass(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    // Fatal messages end the program: they must be seen.
    if (t_current && type != QtFatalMsg) {
        t_current->add(message);
        return;
    }
    g_previous(type, context, message);
}

// A damaged file makes the decoders repeat themselves once a row.
constexpr qsizetype kLinesKept = 3;

} // namespace

DecoderMessages::DecoderMessages() : m_outer(t_current)
{
    static std::once_flag installed;
    std::call_once(installed, [] { g_previous = qInstallMessageHandler(keepOrPass); });
    t_current = this;
}

DecoderMessages::~DecoderMessages()
{
    t_current = m_outer;
}

void DecoderMessages::add(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (!trimmed.isEmpty() && !m_lines.contains(trimmed) && m_lines.size() <= kLinesKept)
        m_lines.append(trimmed);
}

QString DecoderMessages::text() const
{
    QStringList shown = m_lines.mid(0, kLinesKept);
    if (m_lines.size() > kLinesKept)
        shown.append(QStringLiteral("…"));
    return shown.join(QStringLiteral("; "));
}

} // namespace image
