#include "SerialNaming.h"

#include "NameParts.h"
#include "core/listing/TextForms.h"

#include <charconv>
#include <cstdio>
#include <optional>

namespace quorvane::core {

namespace {

// Padding beyond the longest name any Linux file system accepts only makes a name that fails at the
// run anyway; a digit count that large cannot come from the two-character field.
constexpr int paddingLimit = 255;

// The digit count field's text as a whole decimal number: an optional sign and digits, nothing else.
std::optional<int> wholeNumber(std::string_view text)
{
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
        if (!digits.empty() && digits.front() == '-') {
            return std::nullopt;
        }
    }
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

// What a row's pieces are made of besides the selectors.
struct RowValues
{
    std::string_view stem;
    const std::string& serial;
    const Clock& clock;
    const platform::LocalDateTime& taken;
};

void appendDate(std::string& out, const platform::LocalDateTime& when)
{
    char text[48];
    const int length = std::snprintf(text, sizeof text, "%04d%02d%02d", when.year, when.month, when.day);
    out.append(text, static_cast<std::size_t>(length));
}

void appendTime(std::string& out, const platform::LocalDateTime& when)
{
    char text[48];
    const int length = std::snprintf(text, sizeof text, "%02d%02d%02d", when.hour, when.minute, when.second);
    out.append(text, static_cast<std::size_t>(length));
}

// Appends the text of one piece to a row's name and says whether the piece bears the name. The
// text goes straight into the name, so a row costs no string per piece.
bool appendPiece(std::string& out, const SerialPiece& chosen, const RowValues& row)
{
    switch (chosen.kind) {
    case PieceKind::Stem:
        out.append(row.stem);
        return true;
    case PieceKind::Serial:
        out.append(row.serial);
        return true;
    case PieceKind::Date:
        appendDate(out, row.clock());
        return false;
    case PieceKind::Time:
        appendTime(out, row.clock());
        return false;
    case PieceKind::DateTime: {
        const platform::LocalDateTime now = row.clock();
        appendDate(out, now);
        appendTime(out, now);
        return false;
    }
    case PieceKind::Underscore:
        out.push_back('_');
        return false;
    case PieceKind::TakenDate:
        appendDate(out, row.taken);
        return false;
    case PieceKind::TakenTime:
        appendTime(out, row.taken);
        return false;
    case PieceKind::TakenDateTime:
        appendDate(out, row.taken);
        appendTime(out, row.taken);
        return false;
    case PieceKind::Text:
        break;
    }
    out.append(chosen.text);
    return false;
}

// start + (r - 1), wrapping instead of overflowing at the ends of the range.
std::int64_t rowValue(std::int64_t start, int row)
{
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(start) + static_cast<std::uint64_t>(row - 1));
}

} // namespace

SerialPiece pieceOfStoredText(std::string_view text)
{
    for (const PieceItem& item : pieceItems) {
        if (text == item.words) {
            return item.kind;
        }
    }
    return std::string(text);
}

std::string storedText(const SerialPiece& piece)
{
    for (const PieceItem& item : pieceItems) {
        if (piece.kind == item.kind) {
            return item.words;
        }
    }
    return piece.text;
}

std::string serialText(std::int64_t value, int digitCount)
{
    // The magnitude as unsigned, so the most negative value has one too.
    const std::uint64_t magnitude =
        value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
    const std::string digits = std::to_string(magnitude);
    std::string text = value < 0 ? "-" : "";
    const int width = digitCount < paddingLimit ? digitCount : paddingLimit;
    if (width > static_cast<int>(digits.size())) {
        text.append(static_cast<std::size_t>(width) - digits.size(), '0');
    }
    return text + digits;
}

bool usesDateTaken(const SerialOptions& options)
{
    const auto taken = [](const SerialPiece& piece) {
        return piece.kind == PieceKind::TakenDate || piece.kind == PieceKind::TakenTime ||
               piece.kind == PieceKind::TakenDateTime;
    };
    return taken(options.front) || taken(options.middle) || taken(options.back);
}

SerialResult planSerialNaming(const FileTable& before, FileTable& after, const SerialOptions& options,
                              const Clock& clock, const TakenTimes& taken)
{
    after.setRowCount(before.rowCount());
    // A table always has a file row, so the digit count is checked before any row is planned.
    const std::optional<int> digitCount = wholeNumber(options.digitCountText);
    // A row's modified time is parsed only when a piece shows when the photo was taken.
    const bool showsTaken = usesDateTaken(options);
    const platform::LocalDateTime noTime;
    std::string name;
    for (int r = 1; r < before.rowCount(); ++r) {
        const FileRow& row = before.row(r);
        const NameParts parts = splitName(row[NameColumn]);
        if (!digitCount) {
            return {SerialOutcome::DigitCountNotInteger,
                    withArguments(translate("SerialNaming", "'%1' は整数ではありません"),
                                  {options.digitCountText})};
        }
        const std::string serial = serialText(rowValue(options.start, r), *digitCount);
        const std::size_t index = static_cast<std::size_t>(r - 1);
        const platform::LocalDateTime rowTaken =
            !showsTaken ? noTime
            : index < taken.size()
                ? taken[index]
                : parseTimestampText(row[ModifiedColumn]).value_or(platform::LocalDateTime());
        const RowValues values{parts.stem, serial, clock, rowTaken};
        name.clear();
        const bool frontBears = appendPiece(name, options.front, values);
        const bool middleBears = appendPiece(name, options.middle, values);
        const bool backBears = appendPiece(name, options.back, values);
        if (!frontBears && !middleBears && !backBears) {
            return {SerialOutcome::NoNameBearingPiece, translate("SerialNaming", noNameBearingPieceMessage)};
        }
        name.append(parts.extension);
        after.setRow(r, FileRow(name, row[SizeColumn], row[CreatedColumn], row[ModifiedColumn],
                                row[AccessedColumn], row[AttributesColumn]));
    }
    return {};
}

} // namespace quorvane::core
