#include "core/settings/InputSettings.h"

#include "support/CaseName.h"

#include <functional>
#include <gtest/gtest.h>

namespace quorvane::core {
namespace {

struct InputsCase
{
    const char* says;
    std::string text;
    std::function<void(InputSettings&)> expected = [](InputSettings&) {
    };
};

const InputsCase inputsCases[] = {
    {"a file without the section leaves every control as built", "[Options]\nViewMode=1\n"},
    {"texts are read as they stand, surrounding quotes taken off",
     "[Inputs]\nFileName1=元ファイル名\nSearchName=\" IMG \"\nReplaceName=\nExt=jpg\n",
     [](InputSettings& i) {
         i.FileName1 = "元ファイル名";
         i.SearchName = " IMG ";
         i.ReplaceName = "";
         i.Ext = "jpg";
     }},
    {"numbers within their ranges are read",
     "[Inputs]\nFileNameNo=-9999\nNumberCnt=99\nReplaceOption=7\nJpegOption=3\nCompression=1\n",
     [](InputSettings& i) {
         i.FileNameNo = -9999;
         i.NumberCnt = 99;
         i.ReplaceOption = 7;
         i.JpegOption = 3;
         i.Compression = 1;
     }},
    {"numbers beyond their ranges or no numbers at all are not read",
     "[Inputs]\nFileNameNo=100000\nNumberCnt=-1\nReplaceOption=8\nJpegOption=x\nCompression=0\n"},
    {"switches are 1 and 0 only",
     "[Inputs]\nUpLow=1\nChangeExt=0\nModifyTime=2\nAccessTime=yes\nNumericSort=1\nDateTaken=1\n",
     [](InputSettings& i) {
         i.UpLow = true;
         i.ChangeExt = false;
         i.NumericSort = true;
         i.DateTaken = true;
     }},
};

class ReadInputsTest : public ::testing::TestWithParam<InputsCase>
{};

TEST_P(ReadInputsTest, GivesTheStoredInputsOrNone)
{
    InputSettings expected;
    GetParam().expected(expected);
    const InputSettings read = readInputSettings(IniFile::parse(GetParam().text));
    EXPECT_EQ(read.NumericSort, expected.NumericSort);
    EXPECT_EQ(read.FileName1, expected.FileName1);
    EXPECT_EQ(read.SearchName, expected.SearchName);
    EXPECT_EQ(read.ReplaceName, expected.ReplaceName);
    EXPECT_EQ(read.Ext, expected.Ext);
    EXPECT_EQ(read.FileNameNo, expected.FileNameNo);
    EXPECT_EQ(read.NumberCnt, expected.NumberCnt);
    EXPECT_EQ(read.ReplaceOption, expected.ReplaceOption);
    EXPECT_EQ(read.JpegOption, expected.JpegOption);
    EXPECT_EQ(read.Compression, expected.Compression);
    EXPECT_EQ(read.UpLow, expected.UpLow);
    EXPECT_EQ(read.ChangeExt, expected.ChangeExt);
    EXPECT_EQ(read.ModifyTime, expected.ModifyTime);
    EXPECT_EQ(read.AccessTime, expected.AccessTime);
    EXPECT_EQ(read.DateTaken, expected.DateTaken);
}

INSTANTIATE_TEST_SUITE_P(Reading, ReadInputsTest, ::testing::ValuesIn(inputsCases), testing::SaysName());

TEST(InputSettings, WritingKeepsEveryOtherLineAndReadsBackAsWritten)
{
    const std::string mine = "; mine\r\n[Options]\r\nViewMode=1\r\n[Inputs]\r\nFuture=kept\r\n";
    IniFile file = IniFile::parse(mine);
    InputSettings inputs;
    inputs.FileName3 = "連番";
    inputs.SearchName = "\"quoted\"";
    inputs.ReplaceName = " x ";
    inputs.NumberCnt = 3;
    inputs.GrayScale = true;
    inputs.Progressive = false;
    writeInputSettings(file, inputs);
    EXPECT_EQ(file.text().rfind(mine, 0), 0u) << file.text();
    const InputSettings read = readInputSettings(IniFile::parse(file.text()));
    EXPECT_EQ(read.FileName3, inputs.FileName3);
    EXPECT_EQ(read.SearchName, inputs.SearchName);
    EXPECT_EQ(read.ReplaceName, inputs.ReplaceName);
    EXPECT_EQ(read.NumberCnt, inputs.NumberCnt);
    EXPECT_EQ(read.GrayScale, inputs.GrayScale);
    EXPECT_EQ(read.Progressive, inputs.Progressive);
    EXPECT_FALSE(read.FileName1) << "a value not given is not written";
    EXPECT_EQ(IniFile::parse(file.text()).value(inputsSection, "Future"), "kept");
}

} // namespace
} // namespace quorvane::core
