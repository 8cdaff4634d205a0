#pragma once

#include <string>
#include <string_view>

namespace quorvane::core {

// The folder path followed by "/", never doubled: "/" stays "/".
std::string folderPrefix(std::string_view folder);

// The full path of a name in a folder: the folder prefix followed by the name, joined as bytes.
std::string fullPath(std::string_view folder, std::string_view name);

} // namespace quorvane::core
