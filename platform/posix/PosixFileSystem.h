#pragma once

#include "../FileSystem.h"
#include "DosAttributes.h"

#include <mutex>
#include <optional>
#include <string>

namespace quorvane::platform {

// The real file system of a Linux machine.
class PosixFileSystem final : public FileSystem
{
public:
    std::error_code enumerate(std::string_view folder, std::string_view pattern,
                              std::uint32_t extraAttributes, const EntryVisitor& visit) override;
    std::error_code listNames(std::string_view folder,
                              const std::function<void(std::string_view name)>& visit) override;
    std::error_code ignoresLetterCase(std::string_view folder, bool& ignores) override;
    std::error_code shortName(std::string_view path, std::string& shortName) override;
    std::error_code readFile(std::string_view path, std::string& bytes) override;
    std::error_code readStart(std::string_view path, std::size_t limit, std::string& bytes) override;
    std::error_code writeTemporaryFile(std::string_view folder, std::string_view bytes,
                                       std::optional<std::uint32_t> permissions,
                                       std::string& temporaryPath) override;
    std::error_code renameReplacing(std::string_view from, std::string_view to) override;
    std::error_code removeFile(std::string_view path) override;
    std::error_code moveToTrash(std::string_view path, std::string& trashedPath) override;
    std::error_code restoreFromTrash(std::string_view trashedPath, std::string_view path) override;
    std::error_code syncFolder(std::string_view folder) override;
    std::error_code identify(std::string_view path, EntryStamp& stamp) override;
    std::error_code identifyFolder(std::string_view path, FileIdentity& identity) override;
    std::error_code sameEntry(std::string_view first, std::string_view second, bool& same) override;
    std::error_code renameNoReplace(std::string_view from, std::string_view to) override;
    std::error_code setTimes(std::string_view path, std::optional<FileTime> accessed,
                             std::optional<FileTime> modified) override;
    std::error_code setAttributes(std::string_view path, std::uint32_t attributes) override;
    std::error_code readState(std::string_view path, FileState& state) override;
    std::error_code restoreState(std::string_view path, const FileState& state) override;

private:
    // The DOS attribute store of the file system holding path, which lies on device. A run asks for
    // one folder's files one after another, so the last folder's answer is kept.
    posix::DosAttributeStore storeFor(std::string_view path, std::uint64_t device);
    // The raw value of the store for path; store becomes None, for later calls too, when the
    // file system turns out to have no extended attributes.
    std::optional<std::uint32_t> readStoreValue(std::string_view path, std::uint64_t device,
                                                posix::DosAttributeStore& store);
    void rememberStore(std::string_view path, std::uint64_t device, posix::DosAttributeStore store);

    std::mutex storeMutex_;
    std::string storeFolder_;
    std::uint64_t storeDevice_ = 0;
    std::optional<posix::DosAttributeStore> store_;
};

} // namespace quorvane::platform
