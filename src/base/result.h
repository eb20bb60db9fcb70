// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>
#include <utility>

// Why something could not be done, in words for the user.
struct Failure {
    QString why;
};

// A value, or the failure that left none. A Failure converts to any Result, so a
// function returns either `value` or `Failure{text}`.
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Failure failure) : m_error(std::move(failure.why)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }

    // The value; only where ok().
    const T& operator*() const& { return m_value.value(); }
    T& operator*() & { return m_value.value(); }
    T&& operator*() && { return std::move(m_value.value()); }
    const T* operator->() const { return &m_value.value(); }
    T* operator->() { return &m_value.value(); }

    // The failure's text; empty where ok().
    const QString& error() const { return m_error; }

private:
    std::optional<T> m_value;
    QString m_error;
};

// Done, or the failure that stopped it.
template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : m_error(std::move(failure.why)), m_failed(true) {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const QString& error() const { return m_error; }

private:
    QString m_error;
    bool m_failed = false;
};
