#include "FolderListing.h"

#include "DosAttributeReader.h"
#include "FolderReading.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <vector>

namespace quorvane::platform::posix {

namespace {

// Names are handed out in runs of this many: enough that claiming one is rare beside the system
// calls it leads to, few enough that the threads share a folder of some thousand files.
constexpr std::size_t chunkSize = 256;

// A run of consecutive entries of the folder: its names as read, then the entries to visit.
struct Chunk
{
    std::vector<std::string> names;
    std::vector<DirectoryEntry> entries;
    std::atomic<bool> examined{false};
};

FileTime fileTime(const struct statx_timestamp& stamp)
{
    return {stamp.tv_sec, stamp.tv_nsec};
}

// What one thread needs to examine entries of the folder.
class Examiner
{
public:
    Examiner(int folderFd, std::string_view folderPath, std::uint32_t excluded)
        : folderFd_(folderFd), excluded_(excluded), dosAttributes_(folderFd, folderPath)
    {}

    void examine(Chunk& chunk)
    {
        chunk.entries.reserve(chunk.names.size());
        for (std::string& name : chunk.names) {
            examine(name, chunk.entries);
        }
        chunk.names = {};
        chunk.examined.store(true, std::memory_order_release);
    }

private:
    // Adds the entry's details to entries, unless it is a folder, has gone, or carries an
    // excluded bit. The name is moved into the entry.
    void examine(std::string& name, std::vector<DirectoryEntry>& entries)
    {
        struct statx info
        {};
        if (statx(folderFd_, name.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
                  STATX_BASIC_STATS | STATX_BTIME, &info) != 0) {
            return; // removed since readdir saw it
        }
        if (S_ISDIR(info.stx_mode)) {
            return;
        }
        std::uint32_t attributes = dosAttributes_.attributesOf(name.c_str()) &
                                   (AttributeBit::Hidden | AttributeBit::System | AttributeBit::Archive);
        if (name.front() == '.') {
            attributes |= AttributeBit::Hidden;
        }
        if (!S_ISLNK(info.stx_mode) && (info.stx_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            attributes |= AttributeBit::ReadOnly;
        }
        if ((attributes & excluded_) != 0) {
            return;
        }
        DirectoryEntry& entry = entries.emplace_back();
        entry.name = std::move(name);
        entry.identity = {static_cast<std::uint64_t>(makedev(info.stx_dev_major, info.stx_dev_minor)),
                          info.stx_ino};
        entry.size = info.stx_size;
        if ((info.stx_mask & STATX_BTIME) != 0) {
            entry.created = fileTime(info.stx_btime);
        }
        entry.modified = fileTime(info.stx_mtime);
        entry.accessed = fileTime(info.stx_atime);
        entry.attributes = attributes;
    }

    int folderFd_;
    std::uint32_t excluded_;
    DosAttributeReader dosAttributes_;
};

// The chunks of one listing. The thread that reads the folder adds them and alone looks at them
// without the lock; the helpers claim them one after another.
class ChunkQueue
{
public:
    void publish(std::vector<std::string>&& names)
    {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            chunks_.emplace_back().names = std::move(names);
        }
        ready_.notify_one();
    }

    // No chunk comes any more. Abandoned, the chunks not yet claimed are left as they are.
    void close(bool abandon)
    {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            closed_ = true;
            abandoned_ = abandoned_ || abandon;
        }
        ready_.notify_all();
    }

    // The next chunk to examine, waiting while the folder is still being read; nullptr when none
    // is left.
    Chunk* claim()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        ready_.wait(lock, [this] { return claimed_ < chunks_.size() || closed_; });
        if (abandoned_ || claimed_ == chunks_.size()) {
            return nullptr;
        }
        return &chunks_[claimed_++];
    }

    // For the reading thread only.
    std::size_t size() const { return chunks_.size(); }
    Chunk& operator[](std::size_t index) { return chunks_[index]; }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Chunk> chunks_; // a deque keeps every chunk in place as more are added
    std::size_t claimed_ = 0;
    bool closed_ = false;
    bool abandoned_ = false;
};

// The helper threads of one listing. When it goes, also when a visitor throws or the folder
// cannot be read to its end, the chunks still waiting are abandoned and every thread is joined.
class Helpers
{
public:
    explicit Helpers(ChunkQueue& queue) : queue_(queue) {}
    ~Helpers()
    {
        queue_.close(true);
        joinAll();
    }
    Helpers(const Helpers&) = delete;
    Helpers& operator=(const Helpers&) = delete;

    // Starts one more helper while the machine has a core for it and the folder, read so far,
    // gives each thread four chunks or more.
    void startAnotherIfWorthIt(const Examiner& examiner)
    {
        if (!canStart_ || threads_.size() + 1 >= maxThreads() || queue_.size() < 4 * (threads_.size() + 1)) {
            return;
        }
        try {
            threads_.emplace_back([this, mine = examiner]() mutable {
                while (Chunk* chunk = queue_.claim()) {
                    mine.examine(*chunk);
                }
            });
        } catch (const std::system_error&) {
            canStart_ = false; // no thread to be had: the calling thread does the work
        }
    }

    void joinAll()
    {
        for (std::thread& thread : threads_) {
            thread.join();
        }
        threads_.clear();
    }

private:
    static std::size_t maxThreads()
    {
        return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4);
    }

    ChunkQueue& queue_;
    std::vector<std::thread> threads_;
    bool canStart_ = true;
};

} // namespace

std::error_code listFolder(DIR* dir, int folderFd, std::string_view folderPath,
                           const WildcardPattern& matcher, std::uint32_t excluded, const EntryVisitor& visit)
{
    ChunkQueue queue;
    Helpers helpers(queue);
    Examiner examiner(folderFd, folderPath, excluded);

    std::size_t visited = 0;
    const auto visitExamined = [&] {
        while (visited < queue.size() && queue[visited].examined.load(std::memory_order_acquire)) {
            Chunk& chunk = queue[visited];
            for (const DirectoryEntry& entry : chunk.entries) {
                visit(entry);
            }
            chunk.entries = {};
            ++visited;
        }
    };

    std::vector<std::string> names;
    names.reserve(chunkSize);
    const std::error_code readError = readFolder(dir, [&](const dirent& record) {
        // Folders are never listed, "." and ".." among them.
        if (record.d_type == DT_DIR) {
            return true;
        }
        const std::string_view name(record.d_name);
        if (!matcher.matches(name)) {
            return true;
        }
        names.emplace_back(name);
        if (names.size() == chunkSize) {
            queue.publish(std::move(names));
            names = {};
            names.reserve(chunkSize);
            helpers.startAnotherIfWorthIt(examiner);
            visitExamined();
        }
        return true;
    });
    if (readError) {
        return readError;
    }
    if (!names.empty()) {
        queue.publish(std::move(names));
    }
    queue.close(false);
    while (Chunk* chunk = queue.claim()) {
        examiner.examine(*chunk);
        visitExamined();
    }
    helpers.joinAll();
    visitExamined();
    return {};
}

} // namespace quorvane::platform::posix
