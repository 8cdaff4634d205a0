#include "core/settings/InputSettings.h"

#include "core/settings/WindowSettings.h"

#include <climits>

namespace quorvane::core {

namespace {

// The members of InputSettings by their keys, so that reading and writing walk one list.
template <class Visitor>
void forEachInput(InputSettings& inputs, Visitor&& visit)
{
    visit("FileName1", inputs.FileName1);
    visit("FileName2", inputs.FileName2);
    visit("FileName3", inputs.FileName3);
    visit("FileNameNo", inputs.FileNameNo, -9999, 99999);
    visit("NumberCnt", inputs.NumberCnt, 0, 99);
    visit("SearchName", inputs.SearchName);
    visit("ReplaceName", inputs.ReplaceName);
    visit("UpLow", inputs.UpLow);
    visit("ChangeExt", inputs.ChangeExt);
    visit("ReplaceOption", inputs.ReplaceOption, 0, 7);
    visit("Ext", inputs.Ext);
    visit("ModifyTime", inputs.ModifyTime);
    visit("AccessTime", inputs.AccessTime);
    visit("DateTaken", inputs.DateTaken);
    visit("JpegOption", inputs.JpegOption, 0, 3);
    visit("Compression", inputs.Compression, 1, 100);
    visit("GrayScale", inputs.GrayScale);
    visit("Progressive", inputs.Progressive);
    visit("NumericSort", inputs.NumericSort);
}

std::optional<int> numberIn(const std::optional<std::string>& text, int lowest, int highest)
{
    if (!text) {
        return std::nullopt;
    }
    // Below INT_MIN is never a value of ours, so it marks a text that is no integer.
    const int value = readIntegerValue(*text, INT_MIN);
    if (value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

struct Reader
{
    const IniFile& file;

    void operator()(std::string_view key, std::optional<std::string>& value) const
    {
        value = file.value(inputsSection, key);
    }
    void operator()(std::string_view key, std::optional<int>& value, int lowest, int highest) const
    {
        value = numberIn(file.value(inputsSection, key), lowest, highest);
    }
    void operator()(std::string_view key, std::optional<bool>& value) const
    {
        const std::optional<int> number = numberIn(file.value(inputsSection, key), 0, 1);
        value = number ? std::optional<bool>(*number == 1) : std::nullopt;
    }
};

struct Writer
{
    IniFile& file;

    void operator()(std::string_view key, const std::optional<std::string>& value) const
    {
        if (value) {
            file.setValue(inputsSection, key, *value);
        }
    }
    void operator()(std::string_view key, const std::optional<int>& value, int, int) const
    {
        if (value) {
            file.setValue(inputsSection, key, std::to_string(*value));
        }
    }
    void operator()(std::string_view key, const std::optional<bool>& value) const
    {
        if (value) {
            file.setValue(inputsSection, key, *value ? "1" : "0");
        }
    }
};

} // namespace

InputSettings readInputSettings(const IniFile& file)
{
    InputSettings inputs;
    forEachInput(inputs, Reader{file});
    return inputs;
}

void writeInputSettings(IniFile& file, const InputSettings& inputs)
{
    InputSettings copy = inputs;
    forEachInput(copy, Writer{file});
}

} // namespace quorvane::core
