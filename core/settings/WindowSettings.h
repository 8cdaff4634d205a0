#pragma once

#include "core/settings/IniFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::core {

// The values of the settings file as read, each with its default when the key is missing or not
// a decimal integer. The window applies them in the loading order and reads them back from its
// controls at close.
struct WindowSettings
{
    int Width = 800;
    int Height = 600;
    int DirWidth = 161;
    int DivMode = 0;
    int PreMode = 0;
    // Empty when missing or unreadable: their defaults depend on the window's layout.
    std::optional<int> FilesWidth;
    std::optional<int> FilesHeight;
    // The filter patterns from key "0" up to the first missing key; empty when none were read.
    std::vector<std::string> extList;
    // Without a readable value, hidden files are left out: on Linux a name starting with "." is a
    // configuration file far more often than a document of the user's.
    int ViewMode = 1;
    int AutoPlay = 0;

    // 1 stacks the lists (before list on top); every other value lays them side by side.
    bool stacked() const { return DivMode == 1; }
    // 1 starts with the preview button pressed; every other value leaves it released.
    bool previewPressed() const { return PreMode == 1; }
    // 1 checks auto-play; every other value unchecks it.
    bool autoPlay() const { return AutoPlay == 1; }

    struct HideOptions
    {
        bool hideHidden = false;
        bool hideSystem = false;
    };
    // The two hide options that ViewMode 0 to 3 set (1 hides hidden files, 2 system files); empty
    // for every other value, which leaves both options as they are.
    std::optional<HideOptions> hideOptions() const;

    // The values written at close for the window's states.
    static int divModeFor(bool stacked) { return stacked ? 1 : 0; }
    static int preModeFor(bool previewPressed) { return previewPressed ? 1 : 0; }
    static int viewModeFor(bool hideHidden, bool hideSystem)
    {
        return (hideHidden ? 1 : 0) + (hideSystem ? 2 : 0);
    }
    static int autoPlayFor(bool checked) { return checked ? 1 : 0; }
};

// The section and key names of the file.
inline constexpr std::string_view windowStateSection = "WindowState";
inline constexpr std::string_view extListSection = "ExtList";
inline constexpr std::string_view optionsSection = "Options";

// A plain decimal integer with an optional sign, blanks around it allowed ("-5" is -5, "+7" is 7,
// " 12 " is 12); anything else ("12abc", "", "0x10", "1.5", a value beyond int) gives fallback.
int readIntegerValue(std::string_view text, int fallback);

WindowSettings readWindowSettings(const IniFile& file);

// The 30 patterns offered when the file lists none, in their order.
std::vector<std::string> builtInPatterns();

// Writes the patterns to ExtList under the keys "0", "1", ... (their index).
void writeExtList(IniFile& file, const std::vector<std::string>& patterns);

// The start-up rule for the pattern list: when settings lists no pattern, gives it the built-in
// ones, and writes them to file's ExtList when that section holds no key at all, so that the next
// start reads them from the file. Keys the file holds are never overwritten, also when the list
// read from them is empty (no key "0"). Returns whether file changed and must be saved now.
bool addBuiltInPatternsWhenNone(WindowSettings& settings, IniFile& file);

// Writes the nine keys in the saving order: WindowState Width, Height, DirWidth, FilesWidth,
// FilesHeight, DivMode, PreMode, then Options ViewMode, AutoPlay. An empty FilesWidth or
// FilesHeight leaves that key as it is. ExtList is never written here.
void writeWindowSettings(IniFile& file, const WindowSettings& settings);

} // namespace quorvane::core
