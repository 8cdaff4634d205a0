#include "core/rules/SerialNaming.h"

#include "RuleTables.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace quorvane::core {
namespace {

const std::vector<std::string> workedNames = {"photo.jpg", "IMG_0002.JPG", "notes", "archive.tar.gz",
                                              ".profile"};

// A clock that moves on one second every time it is read.
Clock steppingClock(platform::LocalDateTime start, int* reads = nullptr)
{
    return [now = start, reads]() mutable {
        const platform::LocalDateTime shown = now;
        if (reads != nullptr) {
            ++*reads;
        }
        if (++now.second == 60) {
            now.second = 0;
            ++now.minute;
        }
        return shown;
    };
}

const Clock fixedClock = [] {
    return platform::LocalDateTime{2024, 3, 9, 7, 5, 4};
};

struct Case
{
    const char* says;
    SerialOptions options;
    std::vector<std::string> names;
    std::vector<std::string> expected;
};

const Case cases[] = {
    {"stem underscore and serial compose each name before its extension",
     {PieceKind::Stem, PieceKind::Underscore, PieceKind::Serial, 1, "3"},
     workedNames,
     {"photo_001.jpg", "IMG_0002_002.JPG", "notes_003", "archive.tar_004.gz", "_005.profile"}},
    {"typed text is inserted literally before the serial",
     {"trip-", "", PieceKind::Serial, 9, "2"},
     workedNames,
     {"trip-09.jpg", "trip-10.JPG", "trip-11", "trip-12.gz", "trip-13.profile"}},
    {"the serial alone counts from the start with one digit",
     {"", "", PieceKind::Serial, 0, "1"},
     {"a", "b", "c"},
     {"0", "1", "2"}},
    {"a digit count of 0 adds no zeros", {"", "", PieceKind::Serial, 7, "0"}, {"a", "b"}, {"7", "8"}},
    {"a negative digit count adds no zeros", {"", "", PieceKind::Serial, 7, "-1"}, {"a"}, {"7"}},
    {"a digit count of 99 pads to 99 digits",
     {"", "", PieceKind::Serial, 5, "99"},
     {"a"},
     {std::string(98, '0') + "5"}},
    {"a negative start puts the sign ahead of the padding",
     {"", "", PieceKind::Serial, -2, "3"},
     {"a", "b", "c", "d"},
     {"-002", "-001", "000", "001"}},
    {"the same item twice writes the serial twice",
     {PieceKind::Serial, PieceKind::Underscore, PieceKind::Serial, 7, "3"},
     {"x.jpg"},
     {"007_007.jpg"}},
    {"date and time pieces show the clock",
     {PieceKind::Date, PieceKind::Serial, PieceKind::Time, 1, "1"},
     {"photo.jpg"},
     {"202403091070504.jpg"}},
    {"the date and time piece shows both without separators",
     {PieceKind::DateTime, PieceKind::Stem, "", 1, "1"},
     {"photo.jpg"},
     {"20240309070504photo.jpg"}},
    {"a name ending in a period keeps the lone period",
     {PieceKind::Stem, "-", PieceKind::Serial, 1, "1"},
     {"memo."},
     {"memo-1."}},
    {"a stem that is not UTF-8 keeps its bytes",
     {PieceKind::Stem, "", PieceKind::Serial, 1, "1"},
     {"\x83\x5C\xFF.jpg"},
     {"\x83\x5C\xFF"
      "1.jpg"}},
    {"a typed piece of 100000 characters is inserted whole",
     {std::string(100000, 'x'), "", PieceKind::Serial, 1, "1"},
     {"a.jpg"},
     {std::string(100000, 'x') + "1.jpg"}},
    {"a plus sign before the digit count is read as a number",
     {"", "", PieceKind::Serial, 1, "+2"},
     {"a"},
     {"01"}},
};

class SerialNamingTest : public ::testing::TestWithParam<Case>
{};

TEST_P(SerialNamingTest, ComposesTheNames)
{
    const Case& c = GetParam();
    const FileTable before = beforeListOf(c.names);
    FileTable after;
    const SerialResult result = planSerialNaming(before, after, c.options, fixedClock);
    EXPECT_EQ(result.outcome, SerialOutcome::Planned) << c.says;
    EXPECT_EQ(afterNames(after), c.expected) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Pieces, SerialNamingTest, ::testing::ValuesIn(cases), testing::SaysName());

struct RefusalCase
{
    const char* says;
    SerialOptions options;
    SerialOutcome outcome;
    std::string message;
};

const RefusalCase refusals[] = {
    {"no name-bearing piece is refused",
     {PieceKind::Date, PieceKind::Underscore, PieceKind::Time, 1, "1"},
     SerialOutcome::NoNameBearingPiece,
     "【元ファイル名】もしくは【連番】を必ずファイル名に含めてください"},
    {"three empty selectors are refused",
     {"", "", "", 1, "1"},
     SerialOutcome::NoNameBearingPiece,
     std::string(noNameBearingPieceMessage)},
    {"the serial item with a trailing blank is literal text and not name-bearing",
     {"連番 ", "", "", 1, "1"},
     SerialOutcome::NoNameBearingPiece,
     std::string(noNameBearingPieceMessage)},
    {"typed text that reads like an item is still typed text",
     {"連番", "", "元ファイル名", 1, "1"},
     SerialOutcome::NoNameBearingPiece,
     std::string(noNameBearingPieceMessage)},
    {"an item in full-width brackets is literal text and not name-bearing",
     {"", "", "日付（YYYYMMDD）", 1, "1"},
     SerialOutcome::NoNameBearingPiece,
     std::string(noNameBearingPieceMessage)},
    {"an empty digit count is a conversion error",
     {"", "", PieceKind::Serial, 1, ""},
     SerialOutcome::DigitCountNotInteger,
     "'' は整数ではありません"},
    {"a digit count with letters is a conversion error",
     {"", "", PieceKind::Serial, 1, "1a"},
     SerialOutcome::DigitCountNotInteger,
     "'1a' は整数ではありません"},
    {"a lone minus sign is a conversion error",
     {"", "", PieceKind::Serial, 1, "-"},
     SerialOutcome::DigitCountNotInteger,
     "'-' は整数ではありません"},
    {"a digit count beyond an integer is a conversion error",
     {"", "", PieceKind::Serial, 1, "99999999999"},
     SerialOutcome::DigitCountNotInteger,
     "'99999999999' は整数ではありません"},
    {"the digit count is read before the pieces are checked",
     {"", "", "", 1, "x"},
     SerialOutcome::DigitCountNotInteger,
     "'x' は整数ではありません"},
};

class SerialRefusalTest : public ::testing::TestWithParam<RefusalCase>
{};

TEST_P(SerialRefusalTest, WritesNoCellAndSaysWhy)
{
    const RefusalCase& c = GetParam();
    const FileTable before = beforeListOf({"a.jpg", "b.jpg", "c.jpg"});
    FileTable after;
    after.setRowCount(2);
    after.setCell(NameColumn, 1, "earlier");
    const SerialResult result = planSerialNaming(before, after, c.options, fixedClock);
    EXPECT_EQ(result.outcome, c.outcome) << c.says;
    EXPECT_EQ(result.message, c.message) << c.says;
    EXPECT_EQ(after.rowCount(), before.rowCount()) << c.says;
    EXPECT_EQ(afterNames(after), (std::vector<std::string>{"earlier", "", ""})) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Refusals, SerialRefusalTest, ::testing::ValuesIn(refusals), testing::SaysName());

TEST(SerialNaming, TheSettingsFileKeepsAnItemByItsWordsAndTypedTextAsTyped)
{
    for (const PieceItem& item : pieceItems) {
        EXPECT_EQ(pieceOfStoredText(item.words), SerialPiece(item.kind)) << item.words;
        EXPECT_EQ(storedText(item.kind), item.words);
    }
    EXPECT_EQ(storedText(pieceOfStoredText("連番 ")), "連番 ");
    EXPECT_EQ(pieceOfStoredText("Serial number"), SerialPiece("Serial number"));
}

TEST(SerialNaming, ReadsTheClockAfreshForEveryDateOrTimePiece)
{
    int reads = 0;
    const FileTable before = beforeListOf({"a.jpg", "b.jpg"});
    FileTable after;
    const SerialOptions options{PieceKind::Time, PieceKind::Serial, PieceKind::Time, 1, "1"};
    planSerialNaming(before, after, options, steppingClock({2024, 1, 1, 10, 0, 58}, &reads));
    EXPECT_EQ(reads, 4);
    EXPECT_EQ(afterNames(after), (std::vector<std::string>{"1000581100059.jpg", "1001002100101.jpg"}));
}

TEST(SerialNaming, WritesNumbersInFullPastTheDigitCount)
{
    std::vector<std::string> names(150, "f.jpg");
    const FileTable before = beforeListOf(names);
    FileTable after;
    planSerialNaming(before, after, {"", "", PieceKind::Serial, 1, "2"}, fixedClock);
    const std::vector<std::string> planned = afterNames(after);
    EXPECT_EQ(planned.front(), "01.jpg");
    EXPECT_EQ(planned[98], "99.jpg");
    EXPECT_EQ(planned[99], "100.jpg");
    EXPECT_EQ(planned.back(), "150.jpg");
}

TEST(SerialNaming, CopiesTheOtherColumns)
{
    const FileTable before = beforeListOf({"a.jpg", "b"});
    FileTable after;
    planSerialNaming(before, after, {"", "", PieceKind::Serial, 1, "1"}, fixedClock);
    for (int r = 1; r < before.rowCount(); ++r) {
        for (int column = SizeColumn; column <= AttributesColumn; ++column) {
            EXPECT_EQ(after.cell(column, r), before.cell(column, r));
        }
    }
}

} // namespace
} // namespace quorvane::core
