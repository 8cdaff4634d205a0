#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::core {

// How the folder's file system tells two names apart: byte for byte, or with letter case
// ignored (vfat, exFAT, an ext4 folder with the casefold flag, SMB mounts).
enum class NameMatching
{
    Exact,
    IgnoreCase,
};

// One rename of a plan. Row k moves from its current name to its planned name, directly or, to
// break a cycle of names, in two steps through a temporary name that the run picks.
struct RenameStep
{
    enum class Kind
    {
        Direct,        // current name -> planned name
        ToTemporary,   // current name -> a temporary name, opening a cycle
        FromTemporary, // the temporary name -> planned name, closing the cycle that row opened
    };

    std::size_t row = 0;
    Kind kind = Kind::Direct;

    friend bool operator==(const RenameStep&, const RenameStep&) = default;
};

// The order in which a run applies its renames. Every row whose planned name differs from its
// current name has one step (two when it opens a cycle); rows that keep their name have none.
// The steps between a ToTemporary and the FromTemporary of the same row are that cycle's other
// rows, so a run that cannot close the cycle knows what to put back.
struct RenamePlan
{
    std::vector<RenameStep> steps;
    // Rows that want a name an earlier row in list order also wants; they come after that row and
    // fail there, whatever else happens.
    std::vector<std::size_t> duplicates;
};

// Orders the renames of rows from current[k] to planned[k] so that no rename needs a name that
// another row still holds: a row whose planned name is another row's current name goes after that
// row, and a cycle (a -> b, b -> a) opens by moving one of its files to a temporary name. Names
// are compared as matching says. A row that wants the name of an earlier row goes after it (and
// fails there); a row that wants a name no row gives up goes where it is (and fails if the name is
// taken). Runs in time linear in the number of rows.
RenamePlan planRenames(std::span<const std::string_view> current, std::span<const std::string_view> planned,
                       NameMatching matching);

// Why a row of a plan will fail when it is run.
enum class ConflictKind
{
    SameNameAsRow, // an earlier row wants the same name (otherRow names it)
    NameTaken,     // an entry holds the name and is not renamed away by the run
    UnusableName,  // empty, "." or "..", holding "/" or NUL, or longer than 255 bytes
};

struct RenameConflict
{
    std::size_t row = 0;
    ConflictKind kind = ConflictKind::NameTaken;
    std::size_t otherRow = 0; // for SameNameAsRow

    friend bool operator==(const RenameConflict&, const RenameConflict&) = default;
};

// The rows of a plan that will fail, in row order: each row that wants a name an earlier row
// wants, a name held by an entry of the folder (folderEntries, which may or may not include the
// rows' own names) that no row moves away, or by a row that cannot move, or a name the system
// refuses. Rows that only form chains or cycles are not conflicts.
std::vector<RenameConflict> findRenameConflicts(std::span<const std::string_view> current,
                                                std::span<const std::string_view> planned,
                                                std::span<const std::string_view> folderEntries,
                                                NameMatching matching);

// The names of a folder's entries as its file system compares them, gathered one by one (on any
// thread) and then looked up by the conflict check. The names share one buffer, so a folder of
// 100,000 entries costs a few allocations instead of one per name.
class FolderNames
{
public:
    explicit FolderNames(NameMatching matching = NameMatching::Exact);

    void add(std::string_view name);
    bool contains(std::string_view key) const;

private:
    struct Slot
    {
        std::size_t hash = 0;
        std::size_t begin = 0;
        std::size_t length = 0;
        bool used = false;
    };

    std::string_view nameAt(const Slot& slot) const
    {
        return std::string_view(text_).substr(slot.begin, slot.length);
    }
    void grow();

    bool folded_;
    std::string text_;
    std::vector<Slot> slots_;
    std::size_t count_ = 0;
};

// As above, with the folder's names gathered by readFolder on a second thread while this one
// hashes the rows' names (on this thread when no thread can be started).
std::vector<RenameConflict> findRenameConflicts(std::span<const std::string_view> current,
                                                std::span<const std::string_view> planned,
                                                const std::function<FolderNames()>& readFolder,
                                                NameMatching matching);

} // namespace quorvane::core
