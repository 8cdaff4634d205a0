#pragma once

#include "core/listing/Listing.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace quorvane::bench {

// The median wall-clock time of several runs, in seconds.
inline double medianSeconds(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Runs the measured work and its baseline alternately, so that a noisy moment of the machine
// weighs on both alike, and gives the ratio of their medians.
inline double alternatingRatio(int runs, const std::function<void()>& measured,
                               const std::function<void()>& baseline)
{
    std::vector<double> measuredTimes;
    std::vector<double> baselineTimes;
    for (int i = 0; i < runs; ++i) {
        baselineTimes.push_back(medianSeconds(1, baseline));
        measuredTimes.push_back(medianSeconds(1, measured));
    }
    std::sort(measuredTimes.begin(), measuredTimes.end());
    std::sort(baselineTimes.begin(), baselineTimes.end());
    const double measuredMedian = measuredTimes[measuredTimes.size() / 2];
    const double baselineMedian = baselineTimes[baselineTimes.size() / 2];
    std::printf("  measured %.4f s, baseline %.4f s (medians of %d)\n", measuredMedian, baselineMedian, runs);
    return measuredMedian / baselineMedian;
}

// Fills a folder with count empty files named like a camera's pictures, IMG_100000.jpg onwards.
inline void makePhotoFiles(const quorvane::testing::TempFolder& folder, int count)
{
    for (int i = 0; i < count; ++i) {
        const std::string name = folder.pathOf("IMG_" + std::to_string(100000 + i) + ".jpg");
        const int fd = open(name.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd >= 0) {
            close(fd);
        }
    }
}

// Lists the photo folder once, which also warms the caches for the measured runs, and says whether
// it holds the count files it should.
inline bool listPhotoFolder(quorvane::platform::FileSystem& fileSystem,
                            const quorvane::core::ListingOptions& options, quorvane::core::FileTable& before,
                            quorvane::core::FileTable& after, int count)
{
    quorvane::core::listFolder(fileSystem, options, before, after);
    if (before.rowCount() != count + 1) {
        std::fprintf(stderr, "the folder does not hold %d files\n", count);
        return false;
    }
    return true;
}

inline void report(const char* name, double value, double target)
{
    std::printf("bench %s: %.3f (target <= %g)\n", name, value, target);
    std::fflush(stdout);
}

} // namespace quorvane::bench
