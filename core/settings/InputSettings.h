#pragma once

#include "core/settings/IniFile.h"

#include <optional>
#include <string>
#include <string_view>

namespace quorvane::core {

// What the user last entered on the operation tabs, kept from one start to the next in a section
// of its own. A value is empty when its key is missing or cannot be read; the window then leaves
// that control as it was built. Keys carry the names of their controls.
struct InputSettings
{
    // "連番": the three piece selectors' texts, the serial start and the digit count.
    std::optional<std::string> FileName1;
    std::optional<std::string> FileName2;
    std::optional<std::string> FileName3;
    std::optional<int> FileNameNo; // -9999 to 99999, what the field's five characters hold
    std::optional<int> NumberCnt;  // 0 to 99
    // "置換": the search and replacement texts, the two check boxes and the name conversion.
    std::optional<std::string> SearchName;
    std::optional<std::string> ReplaceName;
    std::optional<bool> UpLow;
    std::optional<bool> ChangeExt;
    std::optional<int> ReplaceOption; // 0 to 7
    // "拡張子"
    std::optional<std::string> Ext;
    // "日付変更": whether the modified and the accessed time are set, and whether from each file's
    // date taken.
    std::optional<bool> ModifyTime;
    std::optional<bool> AccessTime;
    std::optional<bool> DateTaken;
    // "画像変換": the mode, the JPEG quality and the two JPEG options.
    std::optional<int> JpegOption;  // 0 to 3
    std::optional<int> Compression; // 1 to 100
    std::optional<bool> GrayScale;
    std::optional<bool> Progressive;
    // "設定": whether the lists sort runs of digits by their value.
    std::optional<bool> NumericSort;
};

inline constexpr std::string_view inputsSection = "Inputs";

// Reads the section; a number out of its range and a switch other than 0 or 1 read as empty.
InputSettings readInputSettings(const IniFile& file);

// Writes every value that is set, switches as 1 or 0; a key whose value is empty stays as it is.
void writeInputSettings(IniFile& file, const InputSettings& inputs);

} // namespace quorvane::core
