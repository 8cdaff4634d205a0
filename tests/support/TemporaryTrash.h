#pragma once

#include <string>

namespace quorvane::testing {

// The "files" folder of the trash that this test program uses in place of the user's.
std::string trashFilesFolder();

} // namespace quorvane::testing
