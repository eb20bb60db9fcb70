// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace ops {

// How a run of an operation ended.
struct Outcome {
    enum class Kind {
        Changed,   // the working image holds the result
        Unchanged, // nothing was done and nothing need be said
        Refused,   // nothing was changed; message says why (a plain message box)
        Failed,    // an error stopped the steps; message is the error's text. What was
                   // done before the error stays done.
    };
    Kind kind = Kind::Unchanged;
    QString message;

    static Outcome changed() { return {Kind::Changed, {}}; }
    static Outcome unchanged() { return {Kind::Unchanged, {}}; }
    static Outcome refused(QString why) { return {Kind::Refused, std::move(why)}; }
    static Outcome failed(QString why) { return {Kind::Failed, std::move(why)}; }
};

} // namespace ops
