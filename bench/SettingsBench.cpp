// Reads a settings file whose pattern list holds 100,000 keys and compares it with the bare cost of
// reading the same file and cutting it into lines: finding the patterns must cost a small constant
// per line, never a search of the file per key.

#include "BenchSupport.h"
#include "core/settings/SettingsFile.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/TempFolder.h"

#include <string>
#include <string_view>
#include <vector>

using namespace quorvane;

namespace {

constexpr int patternCount = 100000;

} // namespace

int main()
{
    const testing::TempFolder folder;
    std::string text = "; patterns\n[WindowState]\nWidth=1024\n[ExtList]\n";
    for (int n = 0; n < patternCount; ++n) {
        text += std::to_string(n) + "=*.type" + std::to_string(n) + "\n";
    }
    text += "[Options]\nViewMode=1\n";
    folder.writeFile("quorvn.ini", text);
    const std::string path = folder.pathOf("quorvn.ini");
    platform::PosixFileSystem fileSystem;
    const core::SettingsFile settings(path, fileSystem);
    if (core::readWindowSettings(settings.load()).extList.size() != patternCount) {
        std::fprintf(stderr, "the settings file does not list %d patterns\n", patternCount);
        return 1;
    }

    const double ratio = bench::alternatingRatio(
        9, [&] { core::readWindowSettings(settings.load()); },
        [&] {
            std::string bytes;
            fileSystem.readFile(path, bytes);
            std::vector<std::string> lines;
            std::string_view rest = bytes;
            while (!rest.empty()) {
                const std::size_t end = std::min(rest.find('\n'), rest.size());
                lines.emplace_back(rest.substr(0, end));
                rest.remove_prefix(std::min(end + 1, rest.size()));
            }
        });
    bench::report("settings-extlist-100k", ratio, 15);
    return 0;
}
