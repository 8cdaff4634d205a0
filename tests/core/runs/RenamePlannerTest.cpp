#include "core/runs/RenamePlanner.h"

#include "support/CaseName.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <numeric>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace quorvane::core {
namespace {

std::vector<std::string> words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;) {
        if (word == "''") {
            word.clear();
        } else if (word[0] == '#') {
            word = std::string(std::stoul(word.substr(1)), 'n');
        }
        out.push_back(word);
    }
    return out;
}

std::vector<std::string_view> views(const std::vector<std::string>& names)
{
    return {names.begin(), names.end()};
}

// The plan written as "from>to" steps, "~" standing for the temporary name, duplicates after "|".
std::string written(const RenamePlan& plan, const std::vector<std::string>& current,
                    const std::vector<std::string>& planned)
{
    std::string out;
    for (const RenameStep& step : plan.steps) {
        out += out.empty() ? "" : " ";
        switch (step.kind) {
        case RenameStep::Kind::Direct:
            out += current[step.row] + ">" + planned[step.row];
            break;
        case RenameStep::Kind::ToTemporary:
            out += current[step.row] + ">~";
            break;
        case RenameStep::Kind::FromTemporary:
            out += "~>" + planned[step.row];
            break;
        }
    }
    for (const std::size_t row : plan.duplicates) {
        out += " |" + current[row];
    }
    return out;
}

struct PlanCase
{
    const char* says;
    const char* current;
    const char* planned;
    NameMatching matching;
    const char* steps;
};

void PrintTo(const PlanCase& c, std::ostream* out)
{
    *out << c.says;
}

class PlannedOrder : public ::testing::TestWithParam<PlanCase>
{};

const PlanCase planCases[] = {
    {"independent renames keep list order", "a b", "x y", NameMatching::Exact, "a>x b>y"},
    {"rows that keep their name are not touched", "a b c", "a y c", NameMatching::Exact, "b>y"},
    {"a chain renames its last link first", "1 2 3", "2 3 4", NameMatching::Exact, "3>4 2>3 1>2"},
    {"a swap goes through one temporary name", "a b", "b a", NameMatching::Exact, "a>~ b>a ~>b"},
    {"a three-cycle goes through one temporary name", "a b c", "b c a", NameMatching::Exact,
     "a>~ c>a b>c ~>b"},
    {"moving the last photo to the top renumbers through one temporary name", "1 2 3 4 5", "2 3 4 5 1",
     NameMatching::Exact, "1>~ 5>1 4>5 3>4 2>3 ~>2"},
    {"a chain and a separate cycle are planned apart", "a b x y", "b c y x", NameMatching::Exact,
     "b>c a>b x>~ y>x ~>y"},
    {"the later of two rows wanting one name comes after the first", "a b", "x x", NameMatching::Exact,
     "a>x b>x |b"},
    {"a row wanting a name that is given up later waits for it", "a b", "b z", NameMatching::Exact,
     "b>z a>b"},
    {"a row wanting a kept name goes where it is and fails there", "a b", "b b", NameMatching::Exact, "a>b"},
    {"a cycle through a duplicate is never parked", "a b c", "b c b", NameMatching::Exact, "c>b b>c a>b |c"},
    {"names differing in case are different names on an exact folder", "A.txt a.txt", "a.txt b.txt",
     NameMatching::Exact, "a.txt>b.txt A.txt>a.txt"},
    {"a case-only rename is one step where case is ignored", "ÄPFEL.TXT", "äpfel.txt",
     NameMatching::IgnoreCase, "ÄPFEL.TXT>äpfel.txt"},
    {"a swap that differs only in case is a cycle where case is ignored", "a.txt B.txt", "b.txt A.txt",
     NameMatching::IgnoreCase, "a.txt>~ B.txt>A.txt ~>b.txt"},
    {"two names folding alike are one name where case is ignored", "a b", "X x", NameMatching::IgnoreCase,
     "a>X b>x |b"},
};

TEST_P(PlannedOrder, NeverNeedsANameAnotherRowStillHolds)
{
    const PlanCase& c = GetParam();
    const std::vector<std::string> current = words(c.current), planned = words(c.planned);
    const std::vector<std::string_view> currentViews = views(current), plannedViews = views(planned);
    EXPECT_EQ(written(planRenames(currentViews, plannedViews, c.matching), current, planned), c.steps);
}

INSTANTIATE_TEST_SUITE_P(Plans, PlannedOrder, ::testing::ValuesIn(planCases), testing::SaysName());

// Any plan whose planned names are a rearrangement of some current names and some new ones,
// applied step by step to a folder, never renames onto a name in use, leaves no temporary name,
// and ends with every file under its planned name.
TEST(RenamePlanner, PermutationsOfCurrentNamesAlwaysComeOutRight)
{
    std::mt19937 random(20261209);
    for (int trial = 0; trial < 300; ++trial) {
        const std::size_t count = 1 + random() % 12;
        std::vector<std::string> current(count), planned;
        for (std::size_t k = 0; k < count; ++k) {
            current[k] = std::to_string(k);
        }
        // A shuffled mix of current names and fresh ones, without duplicates.
        std::vector<std::string> pool = current;
        for (std::size_t k = 0; k < count; ++k) {
            pool.push_back("new" + std::to_string(k));
        }
        std::shuffle(pool.begin(), pool.end(), random);
        planned.assign(pool.begin(), pool.begin() + static_cast<std::ptrdiff_t>(count));

        std::map<std::string, std::size_t> folder; // name -> the row whose file it is
        for (std::size_t k = 0; k < count; ++k) {
            folder[current[k]] = k;
        }
        const std::vector<std::string_view> currentViews = views(current), plannedViews = views(planned);
        const RenamePlan plan = planRenames(currentViews, plannedViews, NameMatching::Exact);
        ASSERT_TRUE(plan.duplicates.empty());
        for (const RenameStep& step : plan.steps) {
            const bool fromTemporary = step.kind == RenameStep::Kind::FromTemporary;
            const bool toTemporary = step.kind == RenameStep::Kind::ToTemporary;
            const std::string from = fromTemporary ? "~" : current[step.row];
            const std::string to = toTemporary ? "~" : planned[step.row];
            ASSERT_EQ(folder.count(to), 0u) << "trial " << trial << ": " << from << ">" << to;
            ASSERT_EQ(folder.at(from), step.row) << "trial " << trial;
            folder.erase(from);
            folder[to] = step.row;
        }
        ASSERT_EQ(folder.count("~"), 0u) << "trial " << trial;
        for (std::size_t k = 0; k < count; ++k) {
            ASSERT_EQ(folder.at(planned[k]), k) << "trial " << trial;
        }
    }
}

struct ConflictCase
{
    const char* says;
    const char* current;
    const char* planned;
    const char* others; // entries of the folder the lists do not hold
    NameMatching matching;
    const char* conflicts; // "row:kind" with each row by its current name
};

void PrintTo(const ConflictCase& c, std::ostream* out)
{
    *out << c.says;
}

class Conflicts : public ::testing::TestWithParam<ConflictCase>
{};

const ConflictCase conflictCases[] = {
    {"chains and cycles are no conflicts", "1 2 3 a b", "2 3 4 b a", "", NameMatching::Exact, ""},
    {"the later of two rows wanting one name is marked", "a b c", "x y x", "", NameMatching::Exact,
     "c:same(a)"},
    {"a name held by an entry outside the lists is taken", "a b", "x y", "x .hidden dir", NameMatching::Exact,
     "a:taken"},
    {"a name held by a row that keeps it is taken", "a b", "b b", "", NameMatching::Exact, "a:taken"},
    {"a row waiting for a row that cannot move is marked too", "a b c", "b c ''", "", NameMatching::Exact,
     "a:taken b:taken c:unusable"},
    {"every row of a cycle through a duplicate is marked", "a b c", "b c b", "", NameMatching::Exact,
     "a:taken b:taken c:same(a)"},
    {"names the system refuses are unusable", "a b c d e", "'' . .. x/y #256", "", NameMatching::Exact,
     "a:unusable b:unusable c:unusable d:unusable e:unusable"},
    {"the longest name the system stores is usable", "a", "#255", "", NameMatching::Exact, ""},
    {"names that differ only in case collide where case is ignored", "a b", "Photo.JPG photo.jpg", "",
     NameMatching::IgnoreCase, "b:same(a)"},
    {"an outside entry differing only in case takes the name where case is ignored", "a", "README", "readme",
     NameMatching::IgnoreCase, "a:taken"},
    {"an outside entry differing only in case is another name on an exact folder", "a", "README", "readme",
     NameMatching::Exact, ""},
    {"a case-only rename is no conflict where case is ignored", "Photo.JPG", "photo.jpg", "",
     NameMatching::IgnoreCase, ""},
};

TEST_P(Conflicts, MarkTheRowsThatWillFail)
{
    const ConflictCase& c = GetParam();
    const std::vector<std::string> current = words(c.current), planned = words(c.planned),
                                   others = words(c.others);
    const std::vector<std::string_view> currentViews = views(current), plannedViews = views(planned),
                                        otherViews = views(others);
    std::string found;
    for (const RenameConflict& conflict :
         findRenameConflicts(currentViews, plannedViews, otherViews, c.matching)) {
        found += found.empty() ? "" : " ";
        found += current[conflict.row] + ":";
        switch (conflict.kind) {
        case ConflictKind::SameNameAsRow:
            found += "same(" + current[conflict.otherRow] + ")";
            break;
        case ConflictKind::NameTaken:
            found += "taken";
            break;
        case ConflictKind::UnusableName:
            found += "unusable";
            break;
        }
    }
    EXPECT_EQ(found, c.conflicts);
}

TEST_P(Conflicts, AreTheSameWithTheFolderReadOnASecondThread)
{
    const ConflictCase& c = GetParam();
    const std::vector<std::string> current = words(c.current), planned = words(c.planned),
                                   others = words(c.others);
    const std::vector<std::string_view> currentViews = views(current), plannedViews = views(planned),
                                        otherViews = views(others);
    const auto readFolder = [&] {
        FolderNames names(c.matching);
        for (const std::string& name : others) {
            names.add(name);
        }
        return names;
    };
    EXPECT_EQ(findRenameConflicts(currentViews, plannedViews, readFolder, c.matching),
              findRenameConflicts(currentViews, plannedViews, otherViews, c.matching));
}

INSTANTIATE_TEST_SUITE_P(Plans, Conflicts, ::testing::ValuesIn(conflictCases), testing::SaysName());

} // namespace
} // namespace quorvane::core
