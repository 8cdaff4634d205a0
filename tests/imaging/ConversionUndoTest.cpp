#include "ImageSamples.h"
#include "core/journal/HistoryUndo.h"
#include "core/journal/Recovery.h"
#include "core/listing/Listing.h"
#include "imaging/Bmp.h"
#include "imaging/Conversion.h"
#include "imaging/Jpeg.h"
#include "support/CaseName.h"
#include "support/ForwardingFileSystem.h"
#include "support/TempFolder.h"
#include "support/TemporaryTrash.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

namespace quorvane::imaging {
namespace {

using testing::TempFolder;
using Contents = std::map<std::string, std::string>;

Contents contentsOf(const std::string& folder)
{
    Contents contents;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
        std::ifstream in(entry.path(), std::ios::binary);
        contents[entry.path().filename().string()] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return contents;
}

// A folder of pictures, a journal of its own, and the run converting the folder as listed.
struct Scene
{
    TempFolder folder;
    TempFolder state;
    std::unique_ptr<core::Journal> journal = open();

    std::unique_ptr<core::Journal> open()
    {
        std::string reason;
        auto opened = core::Journal::open(state.pathOf("history.sqlite3"), reason);
        EXPECT_TRUE(opened) << reason;
        return opened;
    }
    ConversionResult convert(ConversionMode mode, platform::FileSystem& fileSystem)
    {
        core::FileTable before;
        core::FileTable after;
        core::listFolder(fileSystem, {folder.path(), "*", false, false}, before, after);
        return convertImages(before, folder.path(), {mode, 90, false, false, 0}, fileSystem, {},
                             journal.get());
    }
};

std::string pictureFor(ConversionMode mode, int size)
{
    const Bitmap picture = testing::gradient(size, size);
    return mode == ConversionMode::BmpToJpeg || mode == ConversionMode::BmpToNewJpeg
               ? writeBmp(picture)
               : encodeJpeg(picture, {90, false, false}).value();
}

struct UndoCase
{
    const char* says;
    ConversionMode mode;
    bool targetExists; // a file has the first picture's new name before the run
    bool editNewFile;  // the first new file is written over after the run
};

const UndoCase undoCases[] = {
    {"a replacing conversion's undo brings every source back byte for byte and removes the new files",
     ConversionMode::BmpToJpeg, false, false},
    {"a conversion of JPEG files to bitmaps is undone the same way", ConversionMode::JpegToBmp, false, false},
    {"a file that a new file replaced comes back from the trash", ConversionMode::BmpToJpeg, true, false},
    {"a new file changed since stays and is named while its source comes back", ConversionMode::BmpToJpeg,
     false, true},
    {"the undo of a conversion to new files removes only the new files", ConversionMode::BmpToNewJpeg, true,
     false},
};

class ConversionUndo : public ::testing::TestWithParam<UndoCase>
{};

TEST_P(ConversionUndo, PutsTheFolderBackAsItWas)
{
    const UndoCase& c = GetParam();
    Scene scene;
    platform::PosixFileSystem fileSystem;
    const bool toJpeg = c.mode == ConversionMode::BmpToJpeg || c.mode == ConversionMode::BmpToNewJpeg;
    const std::string first = toJpeg ? "first.bmp" : "first.jpg";
    const std::string firstNew = toJpeg ? "first.jpg" : "first.bmp";
    scene.folder.writeFile(first, pictureFor(c.mode, 9));
    scene.folder.writeFile(toJpeg ? "second.BMP" : "second.jpeg", pictureFor(c.mode, 12));
    scene.folder.writeFile("notes.txt", "text");
    if (c.targetExists) {
        scene.folder.writeFile(firstNew, "an older picture");
    }
    const Contents original = contentsOf(scene.folder.path());

    const ConversionResult converted = scene.convert(c.mode, fileSystem);
    ASSERT_EQ(converted.converted, 2) << converted.message;
    const std::int64_t run = scene.journal->lastFinished();
    ASSERT_NE(run, 0);
    const bool replacing = c.mode == ConversionMode::BmpToJpeg || c.mode == ConversionMode::JpegToBmp;
    EXPECT_EQ(contentsOf(scene.folder.path()).count(first), replacing ? 0u : 1u);
    Contents expected = original;
    if (c.editNewFile) {
        scene.folder.writeFile(firstNew, "edited since");
        expected[firstNew] = "edited since";
    }

    const core::UndoResult undone = core::undoRecordedRun(*scene.journal, run, fileSystem);

    EXPECT_FALSE(undone.refusal) << undone.message;
    EXPECT_EQ(contentsOf(scene.folder.path()), expected);
    EXPECT_EQ(undone.message.find(firstNew) != std::string::npos, c.editNewFile) << undone.message;
    EXPECT_EQ(scene.journal->run(run)->state,
              c.editNewFile ? core::RunState::PartlyUndone : core::RunState::Undone);
    EXPECT_FALSE(std::filesystem::exists(testing::trashFilesFolder() + "/" + first));
}

INSTANTIATE_TEST_SUITE_P(Undo, ConversionUndo, ::testing::ValuesIn(undoCases), testing::SaysName());

// A file system whose trash the system does not support, as on a file system without one.
class WithoutTrash final : public testing::ForwardingFileSystem
{
public:
    std::error_code moveToTrash(std::string_view, std::string& trashedPath) override
    {
        trashedPath.clear();
        return std::make_error_code(std::errc::operation_not_supported);
    }
};

TEST(ConversionWithoutTrash, DeletesTheSourcesAsBeforeAndIsNeverUndone)
{
    Scene scene;
    WithoutTrash fileSystem;
    scene.folder.writeFile("a.bmp", pictureFor(ConversionMode::BmpToJpeg, 8));
    scene.folder.writeFile("a.jpg", "an older picture");

    const ConversionResult converted = scene.convert(ConversionMode::BmpToJpeg, fileSystem);
    EXPECT_FALSE(converted.undoable);
    EXPECT_NE(converted.message.find("この変換は取り消せません"), std::string::npos) << converted.message;
    const Contents after = contentsOf(scene.folder.path());
    ASSERT_EQ(after.size(), 1u);
    ASSERT_TRUE(decodeJpeg(after.at("a.jpg")).has_value());
    const std::int64_t run = scene.journal->lastFinished();
    EXPECT_FALSE(scene.journal->run(run)->undoable);

    const core::UndoResult undone = core::undoRecordedRun(*scene.journal, run, fileSystem);
    EXPECT_TRUE(undone.refusal);
    EXPECT_NE(undone.message.find("取り消せません"), std::string::npos) << undone.message;
    EXPECT_EQ(contentsOf(scene.folder.path()), after);
}

// The program ends in the middle of a run, here when the second new file is about to take its name.
struct Crash
{};

class CrashingFileSystem final : public testing::ForwardingFileSystem
{
public:
    int renames = 0;
    std::error_code renameReplacing(std::string_view from, std::string_view to) override
    {
        if (++renames == 2) {
            throw Crash();
        }
        return ForwardingFileSystem::renameReplacing(from, to);
    }
};

struct RecoveryCase
{
    const char* says;
    core::RecoveryChoice choice;
    std::vector<std::string> names; // the folder afterwards
};

const RecoveryCase recoveryCases[] = {
    {"putting an unfinished conversion back restores its sources and removes what it wrote",
     core::RecoveryChoice::PutBack,
     {"a.bmp", "b.bmp", "c.bmp"}},
    {"finishing an unfinished conversion keeps the converted file and every source not converted",
     core::RecoveryChoice::Finish,
     {"a.jpg", "b.bmp", "c.bmp"}},
};

class ConversionRecovery : public ::testing::TestWithParam<RecoveryCase>
{};

TEST_P(ConversionRecovery, LosesNoFile)
{
    const RecoveryCase& c = GetParam();
    Scene scene;
    CrashingFileSystem fileSystem;
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) {
        scene.folder.writeFile(name, pictureFor(ConversionMode::BmpToJpeg, 10));
    }
    const Contents original = contentsOf(scene.folder.path());
    EXPECT_THROW(scene.convert(ConversionMode::BmpToJpeg, fileSystem), Crash);
    // A temporary file that the cut-short run left behind.
    scene.folder.writeFile(".quorvane-00000000000000ff.tmp", "part of a picture");

    scene.journal.reset();
    scene.journal = scene.open();
    const std::optional<core::RunSummary> unfinished = scene.journal->unfinishedRun();
    ASSERT_TRUE(unfinished.has_value());
    const core::RecoveryResult recovered =
        core::recoverRun(*scene.journal, unfinished->id, c.choice, fileSystem);

    Contents now = contentsOf(scene.folder.path());
    std::vector<std::string> names;
    for (const auto& [name, bytes] : now) {
        names.push_back(name);
        if (original.count(name) != 0) {
            EXPECT_EQ(bytes, original.at(name)) << name;
        }
    }
    EXPECT_EQ(names, c.names) << recovered.message;
    EXPECT_FALSE(scene.journal->unfinishedRun().has_value());
}

INSTANTIATE_TEST_SUITE_P(Recovery, ConversionRecovery, ::testing::ValuesIn(recoveryCases),
                         testing::SaysName());

} // namespace
} // namespace quorvane::imaging
