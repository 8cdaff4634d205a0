#include "UndoSnapshot.h"

#include "core/listing/Identity.h"
#include "core/listing/Path.h"
#include "core/runs/RunFailure.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>

namespace quorvane::core {
namespace {

// Below this many files per reader, one thread reads every state: a thread costs more than it saves.
constexpr std::size_t filesPerReader = 4096;
constexpr unsigned maxReaders = 4;

// Reads the states of the files of before-list rows first + 1 to last (entries first to last - 1).
void readStates(const FileTable& before, std::string_view folder, platform::FileSystem& fileSystem,
                std::vector<std::optional<platform::FileState>>& states, std::size_t first, std::size_t last)
{
    std::string path = folderPrefix(folder);
    const std::size_t prefixLength = path.size();
    for (std::size_t k = first; k < last; ++k) {
        const std::string_view name = before.cell(NameColumn, static_cast<int>(k + 1));
        if (!isUsableName(name)) {
            continue;
        }
        path.resize(prefixLength);
        path.append(name);
        platform::FileState state;
        if (!fileSystem.readState(path, state)) {
            states[k] = state;
        }
    }
}

} // namespace

std::error_code UndoSnapshot::takeRows(const FileTable& before, const FileTable& after,
                                       std::string_view folder, platform::FileSystem& fileSystem)
{
    platform::FileIdentity folderIdentity;
    if (const std::error_code error =
            checkFolder(fileSystem, folder, before.listedFolder().identity, folderIdentity)) {
        return error;
    }
    clear();
    Folder = {std::string(folder), folderIdentity};
    const std::size_t count = static_cast<std::size_t>(before.rowCount() - 1);
    try {
        BeforeRows.reserve(count);
        AfterRows.reserve(count);
        Identities.reserve(count);
        for (std::size_t k = 0; k < count; ++k) {
            const int row = static_cast<int>(k + 1);
            BeforeRows.push_back(before.row(row));
            AfterRows.push_back(row < after.rowCount() ? after.row(row) : FileRow());
            Identities.push_back(BeforeRows.back().identity());
        }
        BeforeStates.resize(count);
        AfterStates.resize(count);
        Renamed.assign(count, false);
    } catch (...) {
        clear();
        throw;
    }
    return {};
}

void UndoSnapshot::identifyUnknown(platform::FileSystem& fileSystem)
{
    std::string path = folderPrefix(Folder.path);
    const std::size_t prefixLength = path.size();
    for (std::size_t k = 0; k < size(); ++k) {
        if (Identities[k].known() || !isUsableName(BeforeRows[k][NameColumn])) {
            continue;
        }
        path.resize(prefixLength);
        path.append(BeforeRows[k][NameColumn]);
        platform::EntryStamp stamp;
        if (!fileSystem.identify(path, stamp)) {
            Identities[k] = stamp.identity;
        }
    }
}

std::error_code UndoSnapshot::take(const FileTable& before, const FileTable& after, std::string_view folder,
                                   platform::FileSystem& fileSystem)
{
    if (const std::error_code error = takeRows(before, after, folder, fileSystem)) {
        return error;
    }
    StatesChanged = true;
    const std::size_t count = size();

    // Reading a state costs a few system calls and the files are independent, so a large folder's
    // states are read by several threads, each on its own range of entries. Nothing is written
    // before all of them are done.
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const auto readers = static_cast<std::size_t>(
        std::max<std::size_t>(1, std::min<std::size_t>({cores, maxReaders, count / filesPerReader})));
    const std::size_t chunk = (count + readers - 1) / readers;
    std::vector<std::exception_ptr> errors(readers);
    const auto readChunk = [&](std::size_t reader) {
        try {
            readStates(before, folder, fileSystem, BeforeStates, reader * chunk,
                       std::min(count, (reader + 1) * chunk));
        } catch (...) {
            errors[reader] = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(readers);
    std::size_t launched = 1;
    try {
        for (; launched < readers; ++launched) {
            threads.emplace_back(readChunk, launched);
        }
    } catch (const std::system_error&) {
        // No thread to spare: this thread reads the remaining ranges itself.
    }
    readChunk(0);
    for (std::size_t reader = launched; reader < readers; ++reader) {
        readChunk(reader);
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (const std::exception_ptr& error : errors) {
        if (error) {
            clear();
            std::rethrow_exception(error);
        }
    }
    for (std::size_t k = 0; k < count; ++k) {
        std::optional<platform::FileState>& state = BeforeStates[k];
        if (state && Identities[k].known() && state->identity != Identities[k]) {
            state.reset(); // another file's state: the run will not touch that file
        }
        if (!Identities[k].known() && state) {
            Identities[k] = state->identity;
        }
    }
    AfterStates = BeforeStates;
    return {};
}

void UndoSnapshot::readAfterState(platform::FileSystem& fileSystem, const std::string& path,
                                  std::size_t entry)
{
    platform::FileState state;
    if (fileSystem.readState(path, state)) {
        AfterStates[entry].reset();
    } else {
        AfterStates[entry] = state;
    }
}

void UndoSnapshot::clear()
{
    Folder = {};
    StatesChanged = false;
    BeforeRows.clear();
    AfterRows.clear();
    BeforeStates.clear();
    AfterStates.clear();
    Identities.clear();
    Renamed.clear();
}

} // namespace quorvane::core
