// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <concepts>
#include <optional>
#include <utility>

// Why something could not be done, in words for the user.
struct Failure {
    QString why;
};

// A value, or the failure that left none. The failure is its text (a Failure converts
// to any such Result, so a function returns either `value` or `Failure{text}`), or a
// record `E` where the caller needs more than words, such as the file it is about.
template <typename T, typename E = QString> class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Failure failure) requires std::same_as<E, QString> : m_error(std::move(failure.why)) {}
    Result(E error) requires(!std::same_as<E, QString>) : m_error(std::move(error)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }

    // The value; only where ok().
    const T& operator*() const& { return m_value.value(); }
    T& operator*() & { return m_value.value(); }
    T&& operator*() && { return std::move(m_value.value()); }
    const T* operator->() const { return &m_value.value(); }
    T* operator->() { return &m_value.value(); }

    // The failure; empty where ok().
    const E& error() const { return m_error; }

private:
    std::optional<T> m_value;
    E m_error;
};

// Done, or the failure that stopped it.
template <typename E> class [[nodiscard]] Result<void, E> {
public:
    Result() = default;
    Result(Failure failure) requires std::same_as<E, QString> : m_error(std::move(failure.why)), m_failed(true) {}
    Result(E error) requires(!std::same_as<E, QString>) : m_error(std::move(error)), m_failed(true) {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const E& error() const { return m_error; }

private:
    E m_error;
    bool m_failed = false;
};
