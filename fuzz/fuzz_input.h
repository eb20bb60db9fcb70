// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstring>

// Takes values off the front of a fuzzer's input. Past the end every value is 0 and
// every text empty, so any input, however short, is a complete run.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_left(size) {}

    std::uint8_t byte()
    {
        if (m_left == 0)
            return 0;
        --m_left;
        return *m_data++;
    }

    // A text up to the next line feed (not included), read as UTF-8.
    QString line()
    {
        std::size_t length = 0;
        while (length < m_left && m_data[length] != '\n')
            ++length;
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(m_data), qsizetype(length));
        const std::size_t taken = length < m_left ? length + 1 : length;
        m_data += taken;
        m_left -= taken;
        return text;
    }

    // Whatever is left, as it is.
    QByteArray rest()
    {
        QByteArray bytes(reinterpret_cast<const char*>(m_data), qsizetype(m_left));
        m_data += m_left;
        m_left = 0;
        return bytes;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_left;
};
