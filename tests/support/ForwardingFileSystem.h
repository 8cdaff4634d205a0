#pragma once

#include "platform/posix/PosixFileSystem.h"

namespace quorvane::testing {

// Passes every call to the real file system. Tests derive from it and override the one call they
// want to fail, so a failure is injected into real disk work rather than imitated.
class ForwardingFileSystem : public platform::FileSystem
{
public:
    std::error_code enumerate(std::string_view folder, std::string_view pattern,
                              std::uint32_t extraAttributes, const platform::EntryVisitor& visit) override
    {
        return real_.enumerate(folder, pattern, extraAttributes, visit);
    }
    std::error_code listNames(std::string_view folder,
                              const std::function<void(std::string_view name)>& visit) override
    {
        return real_.listNames(folder, visit);
    }
    std::error_code ignoresLetterCase(std::string_view folder, bool& ignores) override
    {
        return real_.ignoresLetterCase(folder, ignores);
    }
    std::error_code shortName(std::string_view path, std::string& name) override
    {
        return real_.shortName(path, name);
    }
    std::error_code readFile(std::string_view path, std::string& bytes) override
    {
        return real_.readFile(path, bytes);
    }
    std::error_code readStart(std::string_view path, std::size_t limit, std::string& bytes) override
    {
        return real_.readStart(path, limit, bytes);
    }
    std::error_code writeTemporaryFile(std::string_view folder, std::string_view bytes,
                                       std::optional<std::uint32_t> permissions,
                                       std::string& temporaryPath) override
    {
        return real_.writeTemporaryFile(folder, bytes, permissions, temporaryPath);
    }
    std::error_code renameReplacing(std::string_view from, std::string_view to) override
    {
        return real_.renameReplacing(from, to);
    }
    std::error_code removeFile(std::string_view path) override { return real_.removeFile(path); }
    std::error_code moveToTrash(std::string_view path, std::string& trashedPath) override
    {
        return real_.moveToTrash(path, trashedPath);
    }
    std::error_code restoreFromTrash(std::string_view trashedPath, std::string_view path) override
    {
        return real_.restoreFromTrash(trashedPath, path);
    }
    std::error_code syncFolder(std::string_view folder) override { return real_.syncFolder(folder); }
    std::error_code identify(std::string_view path, platform::EntryStamp& stamp) override
    {
        return real_.identify(path, stamp);
    }
    std::error_code identifyFolder(std::string_view path, platform::FileIdentity& identity) override
    {
        return real_.identifyFolder(path, identity);
    }
    std::error_code sameEntry(std::string_view first, std::string_view second, bool& same) override
    {
        return real_.sameEntry(first, second, same);
    }
    std::error_code renameNoReplace(std::string_view from, std::string_view to) override
    {
        return real_.renameNoReplace(from, to);
    }
    std::error_code setTimes(std::string_view path, std::optional<platform::FileTime> accessed,
                             std::optional<platform::FileTime> modified) override
    {
        return real_.setTimes(path, accessed, modified);
    }
    std::error_code setAttributes(std::string_view path, std::uint32_t attributes) override
    {
        return real_.setAttributes(path, attributes);
    }
    std::error_code readState(std::string_view path, platform::FileState& state) override
    {
        return real_.readState(path, state);
    }
    std::error_code restoreState(std::string_view path, const platform::FileState& state) override
    {
        return real_.restoreState(path, state);
    }

private:
    platform::PosixFileSystem real_;
};

} // namespace quorvane::testing
