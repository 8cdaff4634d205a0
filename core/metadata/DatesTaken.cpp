#include "DatesTaken.h"

#include "ExifDateReader.h"
#include "MediaDateReader.h"
#include "core/listing/Path.h"
#include "core/listing/TextForms.h"
#include "core/rules/NameParts.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <string_view>
#include <thread>

namespace quorvane::core {

namespace {

// Extensions of the sound and video formats cameras and phones write; the discoverer builds a
// pipeline per file, too costly to try on every file of a folder.
bool mediaExtension(std::string_view name)
{
    static constexpr std::string_view extensions[] = {
        ".mp4",  ".m4v", ".mov", ".3gp", ".3g2", ".avi",  ".mts", ".m2ts", ".mpg",  ".mpeg", ".mkv",
        ".webm", ".wmv", ".m4a", ".mp3", ".wav", ".flac", ".ogg", ".oga",  ".opus", ".aac",  ".wma",
    };
    const std::string_view extension = splitName(name).extension;
    return std::any_of(std::begin(extensions), std::end(extensions), [&](std::string_view known) {
        return known.size() == extension.size() &&
               std::equal(known.begin(), known.end(), extension.begin(),
                          [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
    });
}

class ContentReader : public DateTakenReader
{
public:
    explicit ContentReader(platform::FileSystem& fileSystem) : images_(fileSystem) {}

    std::optional<DateTaken> read(const std::string& path) const override
    {
        return mediaExtension(path) ? media_.read(path) : images_.read(path);
    }

private:
    ExifDateReader images_;
    MediaDateReader media_;
};

// Runs work(i) for every i below count on a few threads; the calls share nothing but their index.
template <class Work>
void onWorkerThreads(std::size_t count, const Work& work)
{
    const std::size_t threads =
        std::min<std::size_t>({count, std::max(1u, std::thread::hardware_concurrency()), 8});
    std::atomic<std::size_t> next{0};
    const auto worker = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            work(i);
        }
    };
    std::vector<std::thread> pool;
    for (std::size_t t = 1; t < threads; ++t) {
        pool.emplace_back(worker);
    }
    worker();
    for (std::thread& thread : pool) {
        thread.join();
    }
}

} // namespace

std::unique_ptr<DateTakenReader> makeDateTakenReader(platform::FileSystem& fileSystem)
{
    return std::make_unique<ContentReader>(fileSystem);
}

std::size_t DatesTaken::KeyHash::operator()(const Key& key) const
{
    std::size_t hash = std::hash<std::uint64_t>()(key.identity.inode);
    for (const std::uint64_t part : {key.identity.device, static_cast<std::uint64_t>(key.modified.seconds),
                                     static_cast<std::uint64_t>(key.modified.nanoseconds)}) {
        hash ^= std::hash<std::uint64_t>()(part) + 0x9e3779b97f4a7c15ull + (hash << 6) + (hash >> 2);
    }
    return hash;
}

DatesTaken::DatesTaken(std::unique_ptr<DateTakenReader> reader) : reader_(std::move(reader)) {}

std::vector<RowDateTaken> DatesTaken::of(const FileTable& table)
{
    const std::size_t rows = static_cast<std::size_t>(table.rowCount() - 1);
    const std::string& folder = table.listedFolder().path;
    std::vector<RowDateTaken> dates(rows);
    std::vector<std::size_t> unread;
    // A row is known by what its listing found, so a file seen before costs no call at all.
    for (std::size_t i = 0; i < rows; ++i) {
        const FileRow& row = table.row(static_cast<int>(i) + 1);
        if (row.blank()) {
            continue;
        }
        const auto cached = cache_.find(Key{row.identity(), row.listedModified()});
        if (!row.identity().known() || cached == cache_.end()) {
            unread.push_back(i);
        } else {
            dates[i] = cached->second ? RowDateTaken{*cached->second, true}
                                      : RowDateTaken{dateTakenOf(row.listedModified())};
        }
    }
    std::vector<std::optional<DateTaken>> read(unread.size());
    onWorkerThreads(unread.size(), [&](std::size_t k) {
        const FileRow& row = table.row(static_cast<int>(unread[k]) + 1);
        read[k] = reader_->read(fullPath(folder, row[NameColumn]));
    });
    for (std::size_t k = 0; k < unread.size(); ++k) {
        const std::size_t i = unread[k];
        const FileRow& row = table.row(static_cast<int>(i) + 1);
        ++filesRead_;
        if (read[k]) {
            dates[i] = {*read[k], true};
        } else if (row.identity().known()) {
            dates[i] = {dateTakenOf(row.listedModified())};
        } else if (const auto listed = parseTimestampText(row[ModifiedColumn])) {
            dates[i].date.local = *listed;
        }
        // Only a listed row says which state of which file it was read from.
        if (row.identity().known()) {
            cache_.emplace(Key{row.identity(), row.listedModified()}, read[k]);
        }
    }
    return dates;
}

} // namespace quorvane::core
