#pragma once

#include "core/listing/FileTable.h"
#include "core/runs/RunRecorder.h"
#include "platform/FileSystem.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::core {

// What became of a converted image's source; the values are stored, so they never change.
enum class SourceFate : std::uint8_t
{
    Pending = 0, // not converted, or not moved yet
    Kept = 1,    // a mode that writes new files keeps its sources
    Trashed = 2, // in the desktop's trash, at sourceTrash
    Deleted = 3, // removed on a file system without a trash: it cannot come back
    Left = 4,    // converted, but it could not be moved away: both files stay
};

// One image of a conversion run: which file it was, what the run wrote, and where the files it
// took away went, so that the run can be undone or, cut short, put back.
struct ConvertedImage
{
    std::string sourceName;
    platform::FileIdentity source;
    std::string newName;
    // The file that had the new name before the run (unknown: none) and where the run put it to
    // make room: its place in the trash, or deleted where the file system has none.
    platform::FileIdentity replaced;
    std::string replacedTrash;
    bool replacedDeleted = false;
    // The new file as the run left it; an undo removes it only while it is still so.
    bool converted = false;
    platform::FileIdentity newFile;
    std::uint64_t newSize = 0;
    platform::FileTime newModified;
    SourceFate fate = SourceFate::Pending;
    std::string sourceTrash;

    friend bool operator==(const ConvertedImage&, const ConvertedImage&) = default;
};

struct ConversionRecord
{
    ListedFolder Folder;
    std::vector<ConvertedImage> images;
};

// Where a conversion run writes down its plan before its first change, each image's progress as it
// goes, and its end. As with RunRecorder, a recorder that cannot write lets the run go on.
class ConversionRecorder
{
public:
    virtual ~ConversionRecorder() = default;

    virtual void beginConversion(RunKind kind, const ConversionRecord& plan) = 0;
    // Image index of the plan stands now as image says; written without waiting for the disk.
    virtual void noteImage(std::size_t index, const ConvertedImage& image) = 0;
    // The end: the images as the run left them. undoable is false when a file went for good.
    virtual void finishConversion(const ConversionRecord& result, bool undoable, std::size_t failures) = 0;
};

} // namespace quorvane::core
