#include "core/runs/PlanApplier.h"

#include "platform/ErrorCode.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/CaseName.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <ostream>
#include <random>
#include <set>
#include <sstream>

namespace quorvane::core {
namespace {

using testing::TempFolder;

std::vector<std::string> words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;) {
        out.push_back(word);
    }
    return out;
}

// The folder as "name=content" in name order; each file's content is the name it started with.
std::string contents(const TempFolder& folder)
{
    std::map<std::string, std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        const std::string name = entry.path().filename().string();
        found[name] = folder.readFile(name);
    }
    std::string out;
    for (const auto& [name, content] : found) {
        out += (out.empty() ? "" : " ") + name + "=" + content;
    }
    return out;
}

// Renames in the folder through the real file system; a rename away from a name in failing fails
// with EIO before it reaches the disk.
struct FolderRenames
{
    const TempFolder& folder;
    std::set<std::string> failing;
    platform::PosixFileSystem fileSystem;

    RowRename rename()
    {
        return [this](std::size_t, std::string_view from, std::string_view to) {
            if (failing.contains(std::string(from))) {
                return platform::errorFromErrno(EIO);
            }
            return fileSystem.renameNoReplace(folder.pathOf(from), folder.pathOf(to));
        };
    }
};

struct ApplyCase
{
    const char* says;
    const char* current;
    const char* planned;
    const char* failing; // names whose rename away fails
    bool rollBack;       // the answer to a failure
    const char* folderAfter;
    const char* failedRows; // by current name, in the order they failed
};

void PrintTo(const ApplyCase& c, std::ostream* out)
{
    *out << c.says;
}

class AppliedPlan : public ::testing::TestWithParam<ApplyCase>
{};

const ApplyCase applyCases[] = {
    {"renumbering after moving the last photo to the top", "1 2 3 4 5", "2 3 4 5 1", "", false,
     "1=5 2=1 3=2 4=3 5=4", ""},
    {"a swap", "a b", "b a", "", false, "a=b b=a", ""},
    {"a chain", "1 2 3", "2 3 4", "", false, "2=1 3=2 4=3", ""},
    {"the later of two rows wanting one name fails and keeps its file", "a b", "x x", "", false, "b=b x=a",
     "b"},
    {"a cycle that cannot close gives every file its own name back", "a b c", "b c a", "b", false,
     "a=a b=b c=c", "b a c"},
    {"a rollback in the middle of a cycle puts the folder back", "a b c d", "b c a e", "b", true,
     "a=a b=b c=c d=d", "b"},
    {"a rollback after a finished cycle takes back its temporary steps too", "a b c", "b a z", "c", true,
     "a=a b=b c=c", "c"},
};

TEST_P(AppliedPlan, LeavesEveryFileUnderItsPlannedOrItsOwnName)
{
    const ApplyCase& c = GetParam();
    TempFolder folder;
    const std::vector<std::string> current = words(c.current), planned = words(c.planned);
    for (const std::string& name : current) {
        folder.writeFile(name, name);
    }
    FolderRenames renames{folder, {}, {}};
    for (const std::string& name : words(c.failing)) {
        renames.failing.insert(name);
    }
    const std::vector<std::string_view> currentViews(current.begin(), current.end()),
        plannedViews(planned.begin(), planned.end());
    const PlanOutcome outcome = applyRenamePlan(
        planRenames(currentViews, plannedViews, NameMatching::Exact), currentViews, plannedViews,
        renames.rename(), [&](std::size_t, const std::error_code&) { return c.rollBack; });

    EXPECT_EQ(contents(folder), c.folderAfter);
    std::string failed;
    for (const RowError& failure : outcome.failures) {
        failed += (failed.empty() ? "" : " ") + current[failure.row];
    }
    EXPECT_EQ(failed, c.failedRows);
    EXPECT_EQ(outcome.rolledBack, c.rollBack);
    EXPECT_TRUE(outcome.stranded.empty());
}

INSTANTIATE_TEST_SUITE_P(Plans, AppliedPlan, ::testing::ValuesIn(applyCases), testing::SaysName());

// Whatever renames fail and whatever the answers, no file is lost or left under a temporary name,
// a rollback gives back the folder as it was, and each row is either renamed or reported.
TEST(PlanApplier, RandomFailuresNeverLoseAFileOrLeaveATemporaryName)
{
    std::mt19937 random(9122026);
    for (int trial = 0; trial < 150; ++trial) {
        TempFolder folder;
        const std::size_t count = 1 + random() % 8;
        std::vector<std::string> current, pool;
        for (std::size_t k = 0; k < count; ++k) {
            current.push_back("f" + std::to_string(k));
            pool.push_back("f" + std::to_string(k));
            pool.push_back("g" + std::to_string(k));
            folder.writeFile(current.back(), current.back());
        }
        std::shuffle(pool.begin(), pool.end(), random);
        const std::vector<std::string> planned(pool.begin(),
                                               pool.begin() + static_cast<std::ptrdiff_t>(count));
        const std::string before = contents(folder);

        platform::PosixFileSystem fileSystem;
        // Only renames forward fail: the renames back then always succeed, so every outcome can be
        // checked in full.
        const RowRename rename = [&](std::size_t row, std::string_view from, std::string_view to) {
            const bool forward = to == planned[row] || (from == current[row] && to.starts_with(".quorvane-"));
            if (forward && random() % 5 == 0) {
                return platform::errorFromErrno(EIO);
            }
            return fileSystem.renameNoReplace(folder.pathOf(from), folder.pathOf(to));
        };
        const bool rollBack = random() % 2 == 0;
        const std::vector<std::string_view> currentViews(current.begin(), current.end()),
            plannedViews(planned.begin(), planned.end());
        const PlanOutcome outcome = applyRenamePlan(
            planRenames(currentViews, plannedViews, NameMatching::Exact), currentViews, plannedViews, rename,
            [&](std::size_t, const std::error_code&) { return rollBack; });

        const std::string after = contents(folder);
        SCOPED_TRACE("trial " + std::to_string(trial) + ": " + before + " -> " + after);
        std::multiset<std::string> kept;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            kept.insert(folder.readFile(entry.path().filename().string()));
        }
        EXPECT_EQ(kept, std::multiset<std::string>(current.begin(), current.end()));
        EXPECT_TRUE(outcome.rollbackFailures.empty());
        EXPECT_TRUE(outcome.stranded.empty());
        EXPECT_EQ(after.find(".quorvane-"), std::string::npos);
        if (outcome.rolledBack) {
            EXPECT_EQ(after, before);
        }
        for (const std::size_t row : outcome.renamed) {
            EXPECT_EQ(folder.readFile(planned[row]), current[row]);
        }
        std::set<std::size_t> accounted(outcome.renamed.begin(), outcome.renamed.end());
        for (const RowError& failure : outcome.failures) {
            accounted.insert(failure.row);
        }
        for (std::size_t k = 0; k < count && !outcome.rolledBack; ++k) {
            EXPECT_TRUE(current[k] == planned[k] || accounted.contains(k)) << "row " << k;
        }
    }
}

} // namespace
} // namespace quorvane::core
