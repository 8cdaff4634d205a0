#pragma once

#include <cctype>
#include <gtest/gtest.h>
#include <string>

namespace quorvane::testing {

// Names a row of a table-driven test after its sentence, so a failing row reads as the behaviour
// it pins: "a dot file is hidden" becomes ADotFileIsHidden.
struct SaysName
{
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const
    {
        std::string name;
        bool upper = true;
        for (const char c : std::string(info.param.says)) {
            if (std::isalnum(static_cast<unsigned char>(c))) {
                name.push_back(upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c);
                upper = false;
            } else {
                upper = true;
            }
        }
        return name + "_" + std::to_string(info.index);
    }
};

} // namespace quorvane::testing
