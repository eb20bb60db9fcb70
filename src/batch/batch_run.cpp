// SPDX-License-Identifier: MIT
#include "batch_run.h"

#include "sheet_frames.h"

#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>

namespace batch {

std::vector<FileResult> runBatch(const Job& job, int threads,
                                 const std::function<void(const FileResult&, int done)>& finished)
{
    // --join makes one sheet of all the inputs: one result.
    const int count = job.join ? 1 : int(job.inputs.size());
    std::vector<FileResult> results(static_cast<size_t>(count));
    std::atomic<int> next{0};
    std::mutex reporting;
    int done = 0;

    // Each worker takes the next file not yet taken; results go to the file's own slot.
    const auto work = [&] {
        for (int i = next++; i < count; i = next++) {
            FileResult& result = results[size_t(i)];
            result.index = i;
            result.input = job.inputs[i];
            if (job.detect) {
                const auto detected = detectGrid(result.input, job.key, result.warnings);
                if (detected)
                    result.grid = *detected;
                else
                    result.status = FileError{inputName(result.input), detected.error()};
            } else if (job.join) {
                result.output = job.output;
                if (!(job.skipExisting && QFileInfo::exists(result.output)))
                    result.status = joinInputs(job, result.warnings);
            } else if (job.split) {
                result.output = job.outDir;
                result.status = splitFile(job, result.input, result.warnings);
            } else {
                result.output = job.outputFor(result.input);
                const bool skipped
                    = job.skipExisting && result.output != kStandardStream && QFileInfo::exists(result.output);
                if (!skipped)
                    result.status = convertFile(job, result.input, result.output, result.warnings);
            }

            const std::lock_guard lock(reporting);
            ++done;
            if (finished)
                finished(result, done);
        }
    };

    const int workers = std::clamp(threads, 1, std::max(count, 1));
    std::vector<std::thread> helpers;
    for (int i = 1; i < workers; ++i) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // the system gives no more threads: the others share the files
        }
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();
    return results;
}

} // namespace batch
