#include "Conversion.h"

#include "Bmp.h"
#include "Jpeg.h"
#include "core/listing/Identity.h"
#include "core/listing/Path.h"
#include "core/text/Translation.h"
#include "platform/ErrorCode.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <condition_variable>
#include <map>
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
    platform::FileIdentity identity; // the source file the row was listed with
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
    std::string temporaryPath;          // the complete new file, when converted
    std::uint64_t size = 0;             // its size in bytes
    std::optional<std::string> picture; // the row's picture as a bitmap file, when it was valid
};

// Big file buffers handed back once they are done with, so that the next picture reuses memory
// already mapped instead of paying for fresh pages. Shared by the workers and the calling thread.
class BufferPool
{
public:
    std::string take()
    {
        const std::lock_guard lock(mutex_);
        if (buffers_.empty()) {
            return {};
        }
        std::string buffer = std::move(buffers_.back());
        buffers_.pop_back();
        return buffer;
    }
    void give(std::string buffer)
    {
        const std::lock_guard lock(mutex_);
        buffers_.push_back(std::move(buffer));
    }

private:
    std::mutex mutex_;
    std::vector<std::string> buffers_;
};

// The memory a worker keeps from one row to the next: the source file as read and the JPEG it
// compresses.
struct Scratch
{
    std::string source;
    std::string jpeg;
};

// BMP to JPEG into scratch.jpeg; false for an invalid image. A 24-bit uncompressed bitmap is
// compressed straight from the file's bytes, which gives exactly the stream of going through a
// Bitmap. The source bytes then become the row's picture.
bool compressSource(const ConversionOptions& options, Scratch& scratch, std::string& picture)
{
    const JpegSettings settings{std::clamp(options.quality, 1, 100), options.greyscale, options.progressive};
    bool encoded = false;
    if (const std::optional<BgrRows> rows = uncompressedBgrRows(scratch.source)) {
        encoded = encodeJpeg(*rows, settings, scratch.jpeg);
    } else if (const std::optional<Bitmap> bitmap = readBmp(scratch.source)) {
        std::optional<std::string> jpeg = encodeJpeg(*bitmap, settings);
        encoded = jpeg.has_value();
        if (encoded) {
            scratch.jpeg = std::move(*jpeg);
        }
    }
    if (encoded) {
        std::swap(scratch.source, picture);
    }
    return encoded;
}

Outcome convertOne(const Job& job, std::string_view folder, const ConversionOptions& options,
                   platform::FileSystem& fileSystem, Scratch& scratch, BufferPool& buffers)
{
    Outcome outcome;
    try {
        platform::FileState source;
        outcome.error = fileSystem.readState(job.sourcePath, source);
        if (!outcome.error && job.identity.known() && source.identity != job.identity) {
            outcome.error = core::makeError(core::IdentityError::FileChanged);
        }
        if (!outcome.error) {
            outcome.error = fileSystem.readFile(job.sourcePath, scratch.source);
        }
        if (outcome.error) {
            return outcome;
        }
        // JPEG to BMP decodes straight into the new file's rows, so that file is the picture too.
        std::string picture = buffers.take();
        const bool toJpeg = writesJpeg(options.mode);
        const bool valid =
            toJpeg ? compressSource(options, scratch, picture) : decodeJpegToBmp(scratch.source, picture);
        if (!valid) {
            buffers.give(std::move(picture));
            outcome.kind = Outcome::InvalidImage;
            return outcome;
        }
        // The new picture is as private as its source: a 0600 photo never becomes readable by all.
        // A symbolic link's own bits (always 0777) say nothing of its target, so a source open to
        // all gets the system's default bits, which are never more open.
        const std::uint32_t bits = source.mode & 0777;
        const std::string& bytes = toJpeg ? scratch.jpeg : picture;
        outcome.size = bytes.size();
        outcome.error = fileSystem.writeTemporaryFile(
            folder, bytes, bits == 0777 ? std::nullopt : std::optional(bits), outcome.temporaryPath);
        if (outcome.error) {
            buffers.give(std::move(picture));
            return outcome;
        }
        outcome.kind = Outcome::Converted;
        outcome.picture = std::move(picture);
    } catch (const std::bad_alloc&) {
        outcome = Outcome();
        outcome.error = std::make_error_code(std::errc::not_enough_memory);
    }
    return outcome;
}

// Converts the jobs on worker threads up to writing each new file under its temporary name, a
// bounded number ahead of the row being committed, so that memory stays limited to a few
// pictures whatever the length of the list. The calling thread commits the outcomes in row order.
class Workers
{
public:
    Workers(const std::vector<Job>& jobs, std::string_view folder, const ConversionOptions& options,
            platform::FileSystem& fileSystem, BufferPool& buffers)
        : jobs_(jobs), folder_(folder), options_(options), fileSystem_(fileSystem), buffers_(buffers),
          outcomes_(jobs.size())
    {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        const std::size_t count = std::min<std::size_t>(
            options.threads > 0 ? static_cast<unsigned>(options.threads) : cores, jobs.size());
        window_ = std::max<std::size_t>(2 * count, 1);
        // Reserved first, so that no thread is ever left unowned by a failed allocation.
        threads_.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            try {
                threads_.push_back(options.startThread ? options.startThread([this] { work(); })
                                                       : std::thread([this] { work(); }));
            } catch (const std::system_error&) {
                break; // no more threads to be had: the run goes on with those it has, or with none
            }
        }
    }
    // Stops the workers after their current job and removes the new files of rows never committed,
    // which exist only when the run stopped early.
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
        for (const std::optional<Outcome>& outcome : outcomes_) {
            if (outcome && !outcome->temporaryPath.empty()) {
                fileSystem_.removeFile(outcome->temporaryPath);
            }
        }
    }
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    // Waits for the job's outcome and hands it over; later jobs may then start. Without workers the
    // job is done here and now.
    Outcome take(std::size_t index)
    {
        if (threads_.empty()) {
            return convertOne(jobs_[index], folder_, options_, fileSystem_, ownScratch_, buffers_);
        }
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
        Scratch scratch;
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
            Outcome outcome = convertOne(jobs_[index], folder_, options_, fileSystem_, scratch, buffers_);
            {
                const std::lock_guard lock(mutex_);
                outcomes_[index] = std::move(outcome);
            }
            changed_.notify_all();
        }
    }

    const std::vector<Job>& jobs_;
    std::string_view folder_;
    const ConversionOptions& options_;
    platform::FileSystem& fileSystem_;
    BufferPool& buffers_;
    std::vector<std::optional<Outcome>> outcomes_;
    std::vector<std::thread> threads_;
    Scratch ownScratch_; // for the jobs this thread does itself when no worker could be started
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
        jobs.push_back({row, std::string(name), core::fullPath(folder, name), std::move(newName),
                        std::move(newPath), before.row(row).identity()});
    }
    return jobs;
}

std::string completionMessage(const ConversionResult& result)
{
    std::string message = core::translate("Conversion", "変換が完了しました");
    if (!result.skipped.empty()) {
        message += "\n\n";
        message += core::translate("Conversion",
                                   "次のファイルは、同じ名前の新しいファイルをこの変換で先に作成したため、"
                                   "変換しませんでした（元のファイルは残っています）:");
        for (const SkippedRow& skipped : result.skipped) {
            message += "\n" + skipped.name + " → " + skipped.newName;
        }
    }
    if (!result.undeletedSources.empty()) {
        message += "\n\n";
        message += core::translate("Conversion", "次の元のファイルは変換しましたが、削除できませんでした:");
        for (const std::string& name : result.undeletedSources) {
            message += "\n" + name;
        }
    }
    if (!result.undoable) {
        message += "\n\n";
        message +=
            core::translate("Conversion", "このフォルダにはごみ箱がないため、元のファイルを削除しました。"
                                          "この変換は取り消せません。");
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

namespace {

// The new files this run wrote, so that no later row replaces one of them, whatever spelling
// leads to it.
class WrittenFiles
{
public:
    // Whether path names a file this run wrote: the same path, the same identity, or on a file
    // system that ignores case, the entry of another spelling (which such a file system may number
    // apart, so the file system itself is asked).
    std::error_code holds(platform::FileSystem& fileSystem, const std::string& path, std::string_view name,
                          bool& written) const
    {
        written = paths_.count(path) != 0;
        platform::EntryStamp found;
        if (written || fileSystem.identify(path, found)) {
            return {}; // nothing of that name: nothing to lose
        }
        written = identities_.count({found.identity.device, found.identity.inode}) != 0;
        const auto spelling = byFolding_.find(platform::simpleCaseFolded(name));
        if (written || spelling == byFolding_.end()) {
            return {};
        }
        return fileSystem.sameEntry(spelling->second, path, written);
    }

    void add(platform::FileSystem& fileSystem, const std::string& path, std::string_view name)
    {
        paths_.insert(path);
        byFolding_.emplace(platform::simpleCaseFolded(name), path);
        platform::EntryStamp made;
        if (!fileSystem.identify(path, made)) {
            identities_.insert({made.identity.device, made.identity.inode});
        }
    }

private:
    std::set<std::string> paths_;
    std::set<std::pair<std::uint64_t, std::uint64_t>> identities_;
    std::map<std::string, std::string> byFolding_; // folded name -> the path written
};

// The plan of a run as its record starts: each source, its new name and the file that has that name
// now, if any.
core::ConversionRecord planOf(const std::vector<Job>& jobs, std::string_view folder,
                              const platform::FileIdentity& folderIdentity, ConversionMode mode,
                              platform::FileSystem& fileSystem)
{
    core::ConversionRecord record{{std::string(folder), folderIdentity}, {}};
    record.images.reserve(jobs.size());
    for (const Job& job : jobs) {
        core::ConvertedImage& image = record.images.emplace_back();
        image.sourceName = job.name;
        image.source = job.identity;
        image.newName = job.newName;
        image.fate = replacesSource(mode) ? core::SourceFate::Pending : core::SourceFate::Kept;
        platform::EntryStamp stamp;
        if (!job.identity.known() && !fileSystem.identify(job.sourcePath, stamp)) {
            image.source = stamp.identity;
        }
        if (!fileSystem.identify(job.newPath, stamp)) {
            image.replaced = stamp.identity;
        }
    }
    return record;
}

// Moves the file at path to the trash and says where it went; on a file system without one it is
// deleted, and the run can no longer be undone.
std::error_code takeAway(platform::FileSystem& fileSystem, const std::string& path, std::string& trashed,
                         core::SourceFate& fate, ConversionResult& result)
{
    const std::error_code error = fileSystem.moveToTrash(path, trashed);
    if (!error) {
        fate = core::SourceFate::Trashed;
        return {};
    }
    if (error != std::errc::operation_not_supported) {
        return error;
    }
    if (const std::error_code removed = fileSystem.removeFile(path)) {
        return removed;
    }
    fate = core::SourceFate::Deleted;
    result.undoable = false;
    return {};
}

// Takes a file that has the row's new name out of the way into the trash, so that the new file
// does not destroy it. A read-only one stays, and renameReplacing refuses it as writing over it
// would; without a trash it is replaced as before, and the run can no longer be undone.
std::error_code makeRoom(platform::FileSystem& fileSystem, const Job& job, core::ConvertedImage& image,
                         ConversionResult& result)
{
    platform::EntryStamp existing;
    if (fileSystem.identify(job.newPath, existing) || (existing.mode & 0222) == 0) {
        return {};
    }
    image.replaced = existing.identity;
    const std::error_code error = fileSystem.moveToTrash(job.newPath, image.replacedTrash);
    if (error == std::errc::operation_not_supported) {
        image.replacedDeleted = true;
        result.undoable = false;
        return {};
    }
    // Trashed where it cannot be found again: it is in the desktop's trash, but no undo brings it.
    image.replacedDeleted = !error && image.replacedTrash.empty();
    return error;
}

} // namespace

ConversionResult convertImages(const core::FileTable& before, std::string_view folder,
                               const ConversionOptions& options, platform::FileSystem& fileSystem,
                               const ConversionProgress& progress, core::ConversionRecorder* recorder)
{
    ConversionResult result;
    platform::FileIdentity folderIdentity;
    if (const std::error_code error =
            core::checkFolder(fileSystem, folder, before.listedFolder().identity, folderIdentity)) {
        result.refusal = error;
        result.message = core::folderChangedMessage(folder);
        return result;
    }
    const std::vector<Job> jobs = jobsOf(before, folder, options.mode);
    const int total = static_cast<int>(jobs.size());
    core::ConversionRecord record = planOf(jobs, folder, folderIdentity, options.mode, fileSystem);
    if (recorder != nullptr && !jobs.empty()) {
        recorder->beginConversion(core::RunKind::Conversion, record);
    }
    const auto note = [&](std::size_t i) {
        if (recorder != nullptr) {
            recorder->noteImage(i, record.images[i]);
        }
    };
    WrittenFiles written;
    BufferPool buffers;
    const auto showPicture = [&](std::optional<std::string> picture) {
        if (result.lastImage) {
            buffers.give(std::move(*result.lastImage));
        }
        result.lastImage = std::move(picture);
    };
    {
        Workers workers(jobs, folder, options, fileSystem, buffers);
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            const Job& job = jobs[i];
            Outcome outcome = workers.take(i);
            const auto stopWith = [&](std::error_code error) {
                result.stop = ConversionStop{job.row, job.name, error, platform::errorText(error)};
            };
            bool overwritesThisRun = false;
            if (const std::error_code error =
                    written.holds(fileSystem, job.newPath, job.newName, overwritesThisRun)) {
                if (!outcome.temporaryPath.empty()) {
                    fileSystem.removeFile(outcome.temporaryPath);
                }
                stopWith(error);
                break;
            }
            if (overwritesThisRun) {
                // Converting would overwrite the file an earlier row just wrote, losing its picture.
                if (!outcome.temporaryPath.empty()) {
                    fileSystem.removeFile(outcome.temporaryPath);
                }
                result.skipped.push_back({job.name, job.newName});
            } else if (outcome.kind == Outcome::Failed) {
                stopWith(outcome.error);
                break;
            } else if (outcome.kind == Outcome::InvalidImage) {
                showPicture(std::nullopt);
            } else {
                showPicture(std::move(outcome.picture));
                core::ConvertedImage& image = record.images[i];
                if (const std::error_code error = makeRoom(fileSystem, job, image, result)) {
                    fileSystem.removeFile(outcome.temporaryPath);
                    stopWith(error);
                    break;
                }
                note(i);
                if (const std::error_code error =
                        fileSystem.renameReplacing(outcome.temporaryPath, job.newPath)) {
                    fileSystem.removeFile(outcome.temporaryPath);
                    // The file that had the name comes back, so the row changed nothing.
                    if (!image.replacedTrash.empty() &&
                        !fileSystem.restoreFromTrash(image.replacedTrash, job.newPath)) {
                        image.replacedTrash.clear();
                        note(i);
                    }
                    stopWith(error);
                    break;
                }
                written.add(fileSystem, job.newPath, job.newName);
                ++result.converted;
                platform::EntryStamp made;
                if (!fileSystem.identify(job.newPath, made)) {
                    image.newFile = made.identity;
                    image.newModified = made.modified;
                }
                image.converted = true;
                image.newSize = outcome.size;
                note(i);
                // The new name reaches the disk before the source leaves it, and only the source
                // the row was listed with leaves.
                if (replacesSource(options.mode)) {
                    if (fileSystem.syncFolder(folder) ||
                        core::checkEntry(fileSystem, job.sourcePath, job.identity) ||
                        takeAway(fileSystem, job.sourcePath, image.sourceTrash, image.fate, result)) {
                        image.fate = core::SourceFate::Left;
                        result.undeletedSources.push_back(job.name);
                    }
                    note(i);
                }
            }
            if (progress) {
                progress(static_cast<int>(i) + 1, total);
            }
        }
    }
    if (recorder != nullptr && !jobs.empty()) {
        std::erase_if(record.images, [](const core::ConvertedImage& image) {
            return !image.converted && image.replacedTrash.empty() && !image.replacedDeleted;
        });
        recorder->finishConversion(record, result.undoable, result.stop ? 1 : 0);
    }
    if (!result.stop) {
        result.message = completionMessage(result);
    }
    return result;
}

} // namespace quorvane::imaging
