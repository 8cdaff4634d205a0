#pragma once

#include "../FileSystem.h"

namespace quorvane::platform {

// The real file system of a Linux machine.
class PosixFileSystem final : public FileSystem
{
public:
    std::error_code enumerate(std::string_view folder, std::string_view pattern,
                              std::uint32_t extraAttributes, const EntryVisitor& visit) override;
    std::error_code shortName(std::string_view path, std::string& shortName) override;
    std::error_code readFile(std::string_view path, std::string& bytes) override;
    std::error_code writeTemporaryFile(std::string_view folder, std::string_view bytes,
                                       std::string& temporaryPath) override;
    std::error_code renameReplacing(std::string_view from, std::string_view to) override;
    std::error_code removeFile(std::string_view path) override;
    std::error_code renameNoReplace(std::string_view from, std::string_view to) override;
    std::error_code setTimes(std::string_view path, FileTime accessed, FileTime modified) override;
    std::error_code setAttributes(std::string_view path, std::uint32_t attributes) override;
    std::error_code readState(std::string_view path, FileState& state) override;
    std::error_code restoreState(std::string_view path, const FileState& state) override;
};

} // namespace quorvane::platform
