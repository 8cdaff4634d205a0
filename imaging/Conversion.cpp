#include "Conversion.h"

#include "Bmp.h"
#include "Jpeg.h"
#include "core/Path.h"
#include "platform/ErrorCode.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <new>
#include <set>
#include <thread>

namespace quorvane::imaging {

namespace {

char foldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalFolded(std::string_view text, std::string_view lowerCase)
{
    return text.size() == lowerCase.size() && std::equal(text.begin(), text.end(), lowerCase.begin(),
                                                         [](char a, char b) { return foldAscii(a) == b; });
}

bool writesJpeg(ConversionMode mode)
{
    return mode == ConversionMode::BmpToJpeg || mode == ConversionMode::BmpToNewJpeg;
}

bool replacesSource(ConversionMode mode)
{
    return mode == ConversionMode::BmpToJpeg || mode == ConversionMode::JpegToBmp;
}

struct Job
{
    int row = 0;
    std::string name;
    std::string sourcePath;
    std::string newName;
    std::string newPath;
};

struct Outcome
{
    enum Kind
    {
        Converted,
        InvalidImage,
        Failed,
    };
    Kind kind = Failed;
    std::error_code error;
    std::string bytes;
    std::optional<Bitmap> image;
};

Outcome convertOne(const Job& job, const ConversionOptions& options, platform::FileSystem& fileSystem)
{
    Outcome outcome;
    try {
        std::string source;
        outcome.error = fileSystem.readFile(job.sourcePath, source);
        if (outcome.error) {
            return outcome;
        }
        outcome.kind = Outcome::InvalidImage;
        if (writesJpeg(options.mode)) {
            outcome.image = readBmp(source);
            if (!outcome.image) {
                return outcome;
            }
            source = std::string();
            const JpegSettings settings{std::clamp(options.quality, 1, 100), options.greyscale,
                                        options.progressive};
            std::optional<std::string> encoded = encodeJpeg(*outcome.image, settings);
            if (!encoded) {
                return outcome;
            }
            outcome.bytes = std::move(*encoded);
        } else {
            outcome.image = decodeJpeg(source);
            if (!outcome.image) {
                return outcome;
            }
            source = std::string();
            outcome.bytes = writeBmp(*outcome.image);
        }
        outcome.kind = Outcome::Converted;
    } catch (const std::bad_alloc&) {
        outcome = Outcome();
        outcome.error = std::make_error_code(std::errc::not_enough_memory);
    }
    return outcome;
}

// Decodes and encodes the jobs on worker threads, a bounded number ahead of the row being
// committed, so that memory stays limited to a few pictures whatever the length of the list.
class Workers
{
public:
    Workers(const std::vector<Job>& jobs, const ConversionOptions& options, platform::FileSystem& fileSystem)
        : jobs_(jobs), options_(options), fileSystem_(fileSystem), outcomes_(jobs.size())
    {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        const std::size_t count = std::min<std::size_t>(
            options.threads > 0 ? static_cast<unsigned>(options.threads) : cores, jobs.size());
        window_ = std::max<std::size_t>(2 * count, 1);
        for (std::size_t i = 0; i < count; ++i) {
            threads_.emplace_back([this] { work(); });
        }
    }
    ~Workers()
    {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        for (std::thread& thread : threads_) {
            thread.join();
        }
    }
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    // Waits for the job's outcome and hands it over; later jobs may then start.
    Outcome take(std::size_t index)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return outcomes_[index].has_value(); });
        Outcome outcome = std::move(*outcomes_[index]);
        outcomes_[index].reset();
        taken_ = index + 1;
        lock.unlock();
        changed_.notify_all();
        return outcome;
    }

private:
    void work()
    {
        for (;;) {
            std::size_t index = 0;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock,
                              [&] { return stopping_ || next_ >= jobs_.size() || next_ < taken_ + window_; });
                if (stopping_ || next_ >= jobs_.size()) {
                    return;
                }
                index = next_++;
            }
            Outcome outcome = convertOne(jobs_[index], options_, fileSystem_);
            {
                const std::lock_guard lock(mutex_);
                outcomes_[index] = std::move(outcome);
            }
            changed_.notify_all();
        }
    }

    const std::vector<Job>& jobs_;
    const ConversionOptions& options_;
    platform::FileSystem& fileSystem_;
    std::vector<std::optional<Outcome>> outcomes_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t next_ = 0;
    std::size_t taken_ = 0;
    std::size_t window_ = 1;
    bool stopping_ = false;
};

std::vector<Job> jobsOf(const core::FileTable& before, std::string_view folder, ConversionMode mode)
{
    std::vector<Job> jobs;
    for (int row = 1; row < before.rowCount(); ++row) {
        const std::string_view name = before.cell(core::NameColumn, row);
        std::string newName = convertedName(name, mode);
        if (newName.empty()) {
            continue;
        }
        std::string newPath = core::fullPath(folder, newName);
        jobs.push_back(
            {row, std::string(name), core::fullPath(folder, name), std::move(newName), std::move(newPath)});
    }
    return jobs;
}

std::string completionMessage(const ConversionResult& result)
{
    std::string message = "変換が完了しました";
    if (!result.skipped.empty()) {
        message += "\n\n次のファイルは、同じ名前の新しいファイルをこの変換で先に作成したため、"
                   "変換しませんでした（元のファイルは残っています）:";
        for (const SkippedRow& skipped : result.skipped) {
            message += "\n" + skipped.name + " → " + skipped.newName;
        }
    }
    if (!result.undeletedSources.empty()) {
        message += "\n\n次の元のファイルは変換しましたが、削除できませんでした:";
        for (const std::string& name : result.undeletedSources) {
            message += "\n" + name;
        }
    }
    return message;
}

} // namespace

std::string convertedName(std::string_view name, ConversionMode mode)
{
    const std::size_t period = name.rfind('.');
    if (period == std::string_view::npos || name.find('/', period) != std::string_view::npos) {
        return {};
    }
    const std::string_view extension = name.substr(period);
    const bool matches = writesJpeg(mode) ? equalFolded(extension, ".bmp")
                                          : equalFolded(extension, ".jpg") || equalFolded(extension, ".jpeg");
    if (!matches) {
        return {};
    }
    return std::string(name.substr(0, period)) + (writesJpeg(mode) ? ".jpg" : ".bmp");
}

ConversionResult convertImages(const core::FileTable& before, std::string_view folder,
                               const ConversionOptions& options, platform::FileSystem& fileSystem,
                               const ConversionProgress& progress)
{
    ConversionResult result;
    const std::vector<Job> jobs = jobsOf(before, folder, options.mode);
    const int total = static_cast<int>(jobs.size());
    std::set<std::string> written;
    {
        Workers workers(jobs, options, fileSystem);
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            const Job& job = jobs[i];
            Outcome outcome = workers.take(i);
            const auto stopWith = [&](std::error_code error) {
                result.stop = ConversionStop{job.row, job.name, error, platform::errorText(error)};
            };
            if (written.count(job.newPath) != 0) {
                // Converting would overwrite the file an earlier row just wrote, losing its picture.
                result.skipped.push_back({job.name, job.newName});
            } else if (outcome.kind == Outcome::Failed) {
                stopWith(outcome.error);
                break;
            } else if (outcome.kind == Outcome::InvalidImage) {
                result.lastImage.reset();
            } else {
                result.lastImage = std::move(outcome.image);
                std::string temporaryPath;
                if (const std::error_code error =
                        fileSystem.writeTemporaryFile(folder, outcome.bytes, temporaryPath)) {
                    stopWith(error);
                    break;
                }
                if (const std::error_code error = fileSystem.renameReplacing(temporaryPath, job.newPath)) {
                    fileSystem.removeFile(temporaryPath);
                    stopWith(error);
                    break;
                }
                written.insert(job.newPath);
                ++result.converted;
                if (replacesSource(options.mode) && fileSystem.removeFile(job.sourcePath)) {
                    result.undeletedSources.push_back(job.name);
                }
            }
            if (progress) {
                progress(static_cast<int>(i) + 1, total);
            }
        }
    }
    if (!result.stop) {
        result.message = completionMessage(result);
    }
    return result;
}

} // namespace quorvane::imaging
