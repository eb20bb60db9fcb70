// SPDX-License-Identifier: MIT
#pragma once

namespace ops {

// How an operation reports its course. The window shows it on its progress bar and
// lets the event loop run; batch runs and tests use their own.
class Progress {
public:
    virtual ~Progress() = default;

    // A milestone, 0 to 100. The first call (0) is where the operation starts to
    // change things; an operation that refuses or changes nothing never calls it.
    virtual void reached(int percent) = 0;

    // Called often (about once per row) during long loops: a chance to yield.
    // Cheap implementations only count time.
    virtual void tick() = 0;
};

// For callers that show nothing.
class SilentProgress final : public Progress {
public:
    void reached(int) override {}
    void tick() override {}
};

} // namespace ops
