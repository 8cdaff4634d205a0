#include "Path.h"

namespace quorvane::core {

std::string folderPrefix(std::string_view folder)
{
    std::string prefix(folder);
    if (prefix.empty() || prefix.back() != '/') {
        prefix.push_back('/');
    }
    return prefix;
}

std::string fullPath(std::string_view folder, std::string_view name)
{
    std::string path = folderPrefix(folder);
    path.append(name);
    return path;
}

} // namespace quorvane::core
