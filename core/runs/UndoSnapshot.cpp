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

std::error_code UndoSnapshot::take(const FileTable& before, const FileTable& after, std::string_view folder,
                                   platform::FileSystem& fileSystem)
{
    platform::FileIdentity folderIdentity;
    if (const std::error_code error =
            checkFolder(fileSystem, folder, before.listedFolder().identity, folderIdentity)) {
        return error;
    }
    clear();
    Folder = {std::string(folder), folderIdentity};
    const std::size_t count = static_cast<std::size_t>(before.rowCount() - 1);
    BeforeStates.resize(count);
    Renamed.assign(count, false);

    // Reading a state costs a few system calls and the files are independent, so a large folder's
    // states are read by several threads, each on its own range of entries, while this thread
    // copies the rows. Nothing is written before all of them are done.
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const auto readers = static_cast<std::size_t>(
        std::max<std::size_t>(1, std::min<std::size_t>({cores, maxReaders, count / filesPerReader})));
    const std::size_t chunk = (count + readers - 1) / readers;
    std::vector<std::exception_ptr> errors(readers + 1); // the last one for copying the rows
    const auto readChunk = [&](std::size_t reader) {
        try {
            readStates(before, folder, fileSystem, BeforeStates, reader * chunk,
                       std::min(count, (reader + 1) * chunk));
        } catch (...) {
            errors[reader] = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    std::size_t launched = 1;
    try {
        for (; launched < readers; ++launched) {
            threads.emplace_back(readChunk, launched);
        }
    } catch (const std::system_error&) {
        // No thread to spare: this thread reads the remaining ranges itself.
    }
    try {
        BeforeRows.reserve(count);
        AfterRows.reserve(count);
        for (std::size_t k = 0; k < count; ++k) {
            const int row = static_cast<int>(k + 1);
            BeforeRows.push_back(before.row(row));
            AfterRows.push_back(row < after.rowCount() ? after.row(row) : FileRow());
        }
    } catch (...) {
        errors[readers] = std::current_exception();
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
    Identities.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
        const platform::FileIdentity& listed = BeforeRows[k].identity();
        std::optional<platform::FileState>& state = BeforeStates[k];
        if (state && listed.known() && state->identity != listed) {
            state.reset(); // another file's state: the run will not touch that file
        }
        Identities[k] = listed.known() || !state ? listed : state->identity;
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
    BeforeRows.clear();
    AfterRows.clear();
    BeforeStates.clear();
    AfterStates.clear();
    Identities.clear();
    Renamed.clear();
}

} // namespace quorvane::core
