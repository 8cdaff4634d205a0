// Invariant: whatever the plan, the failures and the answers, no file's content is lost or
// overwritten, no file leaves the folder, files outside the plan are never touched, and a rollback
// or an undo puts every file it does not name as failed back under its original name with its exact
// times, mode and DOS bits.

#include "RunSupport.h"
#include "core/runs/AttributeChange.h"
#include "core/runs/RenameRun.h"
#include "core/runs/TimestampChange.h"
#include "core/runs/Undo.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <set>

namespace quorvane::core {
namespace {

using testing::DiskFile;
using testing::diskFiles;
using testing::FaultyFileSystem;
using testing::TempFolder;
using testing::WriteCall;

const std::vector<std::string> namePool = {
    "a.txt",        "A.txt",    "b.txt",        "B.TXT",        "c",    "x.txt", "y", "写真.jpg", "写真.JPG",
    "\x82\xa0.txt", "\xff\xfe", "IMG_0001.jpg", "img_0001.jpg", ".dot", "z z",
};
const std::vector<std::string> unusableNames = {"", ".", "..", "sub/q", "../q", std::string("q\0r", 3)};

struct Original
{
    std::string name;
    DiskFile disk;
    platform::FileState state;
};

class Trial
{
public:
    explicit Trial(unsigned seed) : random_(seed) {}

    void run()
    {
        makeFiles();
        planRows();
        fileSystem_.fault = [this](WriteCall call, std::string_view) {
            if (call == WriteCall::ReadState || !chance(faultRate_)) {
                return std::error_code();
            }
            if (restoring_) {
                ++restoringFaults_;
            }
            return platform::errorFromErrno(EIO);
        };
        faultRate_ = pick(3) * 0.1;

        const int kind = pick(5);
        if (kind <= 2) {
            renameRun();
        } else if (kind == 3) {
            timestampRun();
        } else {
            attributeRun();
        }
        if (!snapshot_.empty() && chance(0.7)) {
            restoring_ = true;
            restoringFaults_ = 0;
            const UndoResult undo = undoLastRun(snapshot_, fileSystem_);
            expectRestoredExcept(undo.failures, "after the undo");
        }
    }

private:
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }

    void makeFiles()
    {
        folder_.makeFolder("sub");
        std::vector<std::string> names = namePool;
        std::shuffle(names.begin(), names.end(), random_);
        names.resize(static_cast<std::size_t>(2 + pick(6)));
        const mode_t modes[] = {0644, 0600, 0444, 0400};
        const char* dosTexts[] = {"0x20", "0x22", "0x7"};
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string content = "file " + std::to_string(i);
            folder_.writeFile(names[i], content);
            if (chance(0.3)) {
                folder_.setDosAttrib(names[i], dosTexts[pick(3)]);
            }
            chmod(folder_.pathOf(names[i]).c_str(), modes[pick(4)]);
            folder_.setTimes(names[i], testing::at(1'000'000'000 + pick(100'000'000), pick(1'000'000'000)),
                             testing::at(1'000'000'000 + pick(100'000'000), pick(1'000'000'000)));
        }
        for (const auto& [name, disk] : diskFiles(folder_)) {
            if (disk.content == "<folder>") {
                continue;
            }
            Original original{name, disk, {}};
            EXPECT_FALSE(fileSystem_.readState(folder_.pathOf(name), original.state));
            originals_.emplace(disk.content, original);
        }
    }

    void planRows()
    {
        std::vector<std::string> names;
        for (const auto& [content, original] : originals_) {
            names.push_back(original.name);
        }
        std::shuffle(names.begin(), names.end(), random_);
        // Some files stay out of the plan, as files that a pattern did not list.
        const std::size_t listed = 1 + static_cast<std::size_t>(pick(static_cast<int>(names.size())));
        std::vector<std::string> planned;
        // A chain (each row takes the name the row before it gives up) or a cycle (the last row
        // takes the first row's name) in some trials; rows planned one by one in the others.
        const int shape = pick(4);
        for (std::size_t row = 0; row < listed; ++row) {
            const std::string& name = names[row];
            if (shape == 0 && listed > 1) {
                planned.push_back(row == 0 ? "chain end" : names[row - 1]);
                continue;
            }
            if (shape == 1 && listed > 1) {
                planned.push_back(names[(row + 1) % listed]);
                continue;
            }
            switch (pick(6)) {
            case 0:
                planned.push_back(name);
                break;
            case 1:
                planned.push_back(names[static_cast<std::size_t>(pick(static_cast<int>(names.size())))]);
                break;
            case 2:
                planned.push_back(
                    namePool[static_cast<std::size_t>(pick(static_cast<int>(namePool.size())))]);
                break;
            case 3: {
                std::string flipped = name;
                for (char& c : flipped) {
                    c = std::isupper(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(c))
                                                                    : static_cast<char>(std::toupper(c));
                }
                planned.push_back(flipped);
                break;
            }
            case 4:
                planned.push_back(
                    unusableNames[static_cast<std::size_t>(pick(static_cast<int>(unusableNames.size())))]);
                break;
            default:
                planned.push_back(row > 0 ? planned[static_cast<std::size_t>(pick(static_cast<int>(row)))]
                                          : "dup");
                break;
            }
        }
        names.resize(listed);
        before_ = testing::tableOfNames(names);
        after_ = testing::tableOfNames(planned);
        for (int row = 1; row < before_.rowCount(); ++row) {
            const Original& original = originalNamed(before_.cell(NameColumn, row));
            FileRow full = before_.row(row);
            full.set(ModifiedColumn, "2000/01/01 00:00:00");
            full.set(AccessedColumn, "2000/01/01 00:00:00");
            full.set(AttributesColumn, (original.disk.mode & 0200) == 0 ? "R---" : "----");
            before_.setRow(row, full);
        }
        for (const auto& [content, original] : originals_) {
            if (std::find(names.begin(), names.end(), original.name) == names.end()) {
                outsiders_.insert(content);
            }
        }
    }

    const Original& originalNamed(std::string_view name) const
    {
        for (const auto& [content, original] : originals_) {
            if (original.name == name) {
                return original;
            }
        }
        throw std::logic_error("no such file");
    }

    void renameRun()
    {
        const RenameRunResult result =
            runRenames(before_, after_, folder_.path(), fileSystem_, snapshot_, [this](const std::string&) {
                const int answer = pick(4);
                if (answer == 0) {
                    restoring_ = true;
                    return Answer::Yes;
                }
                return answer == 1 ? Answer::Closed : Answer::No;
            });
        expectNothingLost("after the rename run");
        if (result.rolledBack) {
            expectRestoredExcept(result.rollbackFailures, "after the rollback");
            restoring_ = false;
            return;
        }
        std::set<int> failed;
        for (const RunFailure& failure : result.failures) {
            failed.insert(failure.row);
        }
        const auto now = byContent();
        for (int row = 1; row < before_.rowCount(); ++row) {
            if (failed.count(row) == 0) {
                const std::string& content = originalNamed(before_.cell(NameColumn, row)).disk.content;
                EXPECT_EQ(now.at(content), after_.cell(NameColumn, row)) << "row " << row << " was renamed";
            }
        }
    }

    void timestampRun()
    {
        const TimestampOptions options{
            platform::LocalDateTime{2010, 1 + pick(12), 1 + pick(28), pick(24), pick(60), pick(60)},
            platform::LocalDateTime{2011, 1 + pick(12), 1 + pick(28), pick(24), pick(60), pick(60)}};
        const std::optional<std::int64_t> modified = platform::fromLocalDateTime(*options.modified);
        FileTable after;
        planTimestampChange(before_, after, options);
        const ChangeRunResult result =
            runTimestampChange(before_, after, folder_.path(), options, fileSystem_, snapshot_);
        expectNothingLost("after the timestamp run");
        std::set<std::string> failed;
        for (const RunFailure& failure : result.failures) {
            failed.insert(failure.name);
        }
        const auto files = diskFiles(folder_);
        for (int row = 1; row < before_.rowCount(); ++row) {
            const std::string name(before_.cell(NameColumn, row));
            if (modified && failed.count(name) == 0) {
                EXPECT_EQ(files.at(name).modified.tv_sec, *modified) << name;
                EXPECT_EQ(files.at(name).modified.tv_nsec, 0) << name;
            }
        }
    }

    void attributeRun()
    {
        const AttributeOptions options{chance(0.5), chance(0.5), chance(0.5), chance(0.5),
                                       static_cast<AttributeMode>(pick(3))};
        FileTable after;
        planAttributeChange(before_, after, options);
        runAttributeChange(before_, after, folder_.path(), fileSystem_, snapshot_);
        expectNothingLost("after the attribute run");
    }

    // The name each content is stored under now.
    std::map<std::string, std::string> byContent() const
    {
        std::map<std::string, std::string> names;
        for (const auto& [name, disk] : diskFiles(folder_)) {
            names.emplace(disk.content, name);
        }
        return names;
    }

    void expectNothingLost(const char* when)
    {
        SCOPED_TRACE(when);
        const auto files = diskFiles(folder_);
        std::multiset<std::string> contents;
        for (const auto& [name, disk] : files) {
            contents.insert(disk.content);
        }
        std::multiset<std::string> expected = {"<folder>"};
        for (const auto& [content, original] : originals_) {
            expected.insert(content);
        }
        EXPECT_EQ(contents, expected);
        EXPECT_TRUE(diskFiles(folder_, "sub").empty());
        for (const std::string& content : outsiders_) {
            const Original& original = originals_.at(content);
            ASSERT_TRUE(files.count(original.name));
            EXPECT_EQ(files.at(original.name).content, content);
            EXPECT_TRUE(files.at(original.name).sameTimesAndMode(original.disk)) << original.name;
        }
    }

    void expectRestoredExcept(const std::vector<RunFailure>& failures, const char* when)
    {
        expectNothingLost(when);
        SCOPED_TRACE(when);
        if (restoringFaults_ == 0) {
            EXPECT_TRUE(failures.empty())
                << "nothing failed, yet " << failures.size() << " files were not restored";
        }
        std::set<std::string> excused;
        for (const RunFailure& failure : failures) {
            excused.insert(failure.name);
        }
        const auto files = diskFiles(folder_);
        for (const auto& [content, original] : originals_) {
            if (excused.count(original.name)) {
                continue;
            }
            SCOPED_TRACE(original.name);
            ASSERT_TRUE(files.count(original.name));
            EXPECT_EQ(files.at(original.name).content, content);
            EXPECT_TRUE(files.at(original.name).sameTimesAndMode(original.disk));
            platform::FileState state;
            EXPECT_FALSE(fileSystem_.readState(folder_.pathOf(original.name), state));
            EXPECT_EQ(state, original.state);
        }
    }

    std::mt19937 random_;
    TempFolder folder_;
    FaultyFileSystem fileSystem_;
    std::map<std::string, Original> originals_; // by content
    std::set<std::string> outsiders_;           // contents of the files outside the plan
    FileTable before_;
    FileTable after_;
    UndoSnapshot snapshot_;
    double faultRate_ = 0;
    bool restoring_ = false;
    int restoringFaults_ = 0;
};

TEST(RunReliability, NoPlanFailureOrAnswerLosesAFileOrKeepsTheUndoFromPuttingItBack)
{
    for (unsigned seed = 1; seed <= 400; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Trial(seed).run();
        if (HasFailure()) {
            break;
        }
    }
}

} // namespace
} // namespace quorvane::core
