#pragma once

#include "DateTaken.h"
#include "core/listing/FileTable.h"
#include "core/text/Translation.h"
#include "platform/FileSystem.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace quorvane::core {

// The date taken of one file row: from the file's content, or, when the content states none, the
// file's modified time.
struct RowDateTaken
{
    DateTaken date;
    bool fromContent = false;
};

inline constexpr const char* noDateTakenNote =
    QT_TRANSLATE_NOOP("DateTaken", "撮影日時がないため、更新日時を使います");

// The reader of the program: exiv2 for images, GStreamer's discoverer for files whose extension
// names a sound or video format.
std::unique_ptr<DateTakenReader> makeDateTakenReader();

// The dates taken of the listed files, read on worker threads for a whole list at once and kept
// per file (its identity and modified time), so that asking again for an unchanged file reads
// nothing but its entry.
class DatesTaken
{
public:
    explicit DatesTaken(std::unique_ptr<DateTakenReader> reader);

    // One entry per file row of table, row 1 first. A file that is gone, or is another file than
    // the one listed, has its listed modified time.
    std::vector<RowDateTaken> of(const FileTable& table, platform::FileSystem& fileSystem);

    // How many files had their content read so far.
    std::size_t filesRead() const { return filesRead_; }

private:
    struct Key
    {
        platform::FileIdentity identity;
        platform::FileTime modified;
        friend bool operator==(const Key&, const Key&) = default;
    };
    struct KeyHash
    {
        std::size_t operator()(const Key& key) const;
    };

    std::unique_ptr<DateTakenReader> reader_;
    std::unordered_map<Key, std::optional<DateTaken>, KeyHash> cache_;
    std::size_t filesRead_ = 0;
};

} // namespace quorvane::core
