#include "NameParts.h"

namespace quorvane::core {

NameParts splitName(std::string_view name)
{
    const std::size_t last = name.find_last_of("./");
    if (last == std::string_view::npos || name[last] != '.') {
        return {name, {}};
    }
    return {name.substr(0, last), name.substr(last)};
}

} // namespace quorvane::core
