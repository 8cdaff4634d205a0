#pragma once

#include "Bitmap.h"
#include "core/listing/FileTable.h"
#include "core/runs/ConversionRecord.h"
#include "platform/FileSystem.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

namespace quorvane::imaging {

// The four modes in the order of the tab's radio group.
enum class ConversionMode : int
{
    BmpToJpeg = 0,    // ".bmp" rows become ".jpg" files, the sources are deleted
    JpegToBmp = 1,    // ".jpg" and ".jpeg" rows become ".bmp" files, the sources are deleted
    BmpToNewJpeg = 2, // as BmpToJpeg, the sources are kept
    JpegToNewBmp = 3, // as JpegToBmp, the sources are kept
};

// Starts one worker thread; std::system_error when the system has none to give (a process at its
// thread limit). Tests hand in one that fails so.
using ThreadStarter = std::function<std::thread(std::function<void()> work)>;

struct ConversionOptions
{
    ConversionMode mode = ConversionMode::BmpToJpeg;
    int quality = 100; // 1 to 100, used when writing JPEG
    bool greyscale = false;
    bool progressive = false;
    int threads = 0;             // workers decoding and encoding; 0 means one per core
    ThreadStarter startThread{}; // empty: std::thread
};

// The failure that stopped a run at one row.
struct ConversionStop
{
    int row = 0;
    std::string name;
    std::error_code error;
    std::string errorText; // the system's text for the error
};

// A row not converted because an earlier row of the same run already wrote its new file.
struct SkippedRow
{
    std::string name;
    std::string newName;
};

struct ConversionResult
{
    std::optional<ConversionStop> stop; // set when the run stopped; message is then empty
    // Set when the run converted nothing because its folder is gone or is another folder now;
    // message then says so.
    std::error_code refusal;
    int converted = 0;
    std::vector<SkippedRow> skipped;
    std::vector<std::string> undeletedSources; // converted, but the source could not be deleted
    // False when a file went for good: a source deleted, or a file of a new name replaced, on a file
    // system without a trash.
    bool undoable = true;
    // The picture of the last row handled, for the preview, as a bitmap file (the source when
    // writing JPEG, the new file when writing BMP) that readBmp decodes; empty when that row was no
    // valid image. It stays encoded so that the run spends no time on a picture the preview pane
    // may never show.
    std::optional<std::string> lastImage;
    std::string message; // the completion message with its additions
};

// Called on the calling thread after each converted row: rows done, rows to do.
using ConversionProgress = std::function<void(int done, int total)>;

// The new file's name for a row in a mode, or an empty text when the mode does not convert the
// row: the name without its extension, then ".jpg" or ".bmp" in lower case. Extensions compare
// with the ASCII letters folded.
std::string convertedName(std::string_view name, ConversionMode mode);

// Converts every row of the before list whose extension the mode converts, in list order. The
// rows are taken as they are when the run starts, and each source must still be the file the row
// was listed with. A source that is no valid image is skipped and kept. Any other failure (a
// source gone or replaced by another file among them) stops the run at that row; earlier rows
// stay converted. Each new file gets its source's permission bits, is written under a temporary
// name and renamed into place when complete, replacing a file of its name unless the file system
// says that file is one this run wrote (also under another spelling, on a file system that
// ignores case): that row is skipped and its source kept. In the replacing modes the folder is
// flushed before the source is moved away, so the disk never holds neither. Worker threads read,
// decode, encode and write each new file under its temporary name (so readState, readFile and
// writeTemporaryFile are called from several threads at once); this thread renames the new files
// into place and deletes sources in row order, so the outcome is that of converting the rows one
// by one. Where no worker can be started, this thread does their work. When the run stops, the
// temporary files written for later rows are removed. Nothing happens when folder is gone or is
// not the folder the before list was listed from.
//
// A source the run takes away goes to the desktop's trash, and so does a file that had a new file's
// name (one that can be written over: a read-only one still stops the run), so that the run can be
// undone; only where the file system has no trash are they deleted, and the run is not undoable. A
// recorder gets the plan before the first change, each image's progress and the end.
ConversionResult convertImages(const core::FileTable& before, std::string_view folder,
                               const ConversionOptions& options, platform::FileSystem& fileSystem,
                               const ConversionProgress& progress = {},
                               core::ConversionRecorder* recorder = nullptr);

} // namespace quorvane::imaging
