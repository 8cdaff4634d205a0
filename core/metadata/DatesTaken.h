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

// The reader of the program: exiv2 for images, read through fileSystem (which must outlive the
// reader), and GStreamer's discoverer, which opens the file itself, for files whose extension names
// a sound or video format.
std::unique_ptr<DateTakenReader> makeDateTakenReader(platform::FileSystem& fileSystem);

// The dates taken of the listed files, read on worker threads for a whole list at once and kept
// per file by the identity and modified time its listing found, so that asking again about a file
// listed as before reads nothing, and a file changed and listed again is read anew.
class DatesTaken
{
public:
    explicit DatesTaken(std::unique_ptr<DateTakenReader> reader);

    // One entry per file row of table, row 1 first. A file whose content cannot be read (gone
    // since its listing) has its listed modified time.
    std::vector<RowDateTaken> of(const FileTable& table);

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
