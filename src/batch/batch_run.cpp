// SPDX-License-Identifier: MIT
#include "batch_run.h"

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
    const int count = int(job.inputs.size());
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
                auto detected = detectFile(result.input, job.key, result.warnings);
                if (auto* error = std::get_if<FileError>(&detected))
                    result.error = *error;
                else
                    result.grid = std::get<QString>(detected);
            } else {
                result.output = job.outputFor(result.input);
                const bool skipped
                    = job.skipExisting && result.output != kStandardStream && QFileInfo::exists(result.output);
                if (!skipped)
                    result.error = convertFile(job, result.input, result.output, result.warnings);
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
