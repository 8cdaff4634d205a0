// Feeds arbitrary bytes to the settings reader and writer: the text must come back byte for byte,
// written keys must read back as written, and keys that were not written must read as before.
#include "core/settings/IniFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using quorvane::core::IniFile;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    IniFile file = IniFile::parse(text);
    if (file.text() != text) {
        __builtin_trap();
    }
    const auto viewMode = file.value("Options", "ViewMode");
    file.setValue("WindowState", "Width", "800");
    file.setValue("ExtList", "0", " *.a ");
    const IniFile again = IniFile::parse(file.text());
    if (again.value("WindowState", "Width") != "800" || again.value("ExtList", "0") != " *.a " ||
        again.value("Options", "ViewMode") != viewMode) {
        __builtin_trap();
    }
    return 0;
}
