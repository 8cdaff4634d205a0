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

std::string twoDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string dateText(const platform::LocalDateTime& now)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d", now.year);
    return text + twoDigits(now.month) + twoDigits(now.day);
}

std::string timeText(const platform::LocalDateTime& now)
{
    return twoDigits(now.hour) + twoDigits(now.minute) + twoDigits(now.second);
}

struct Piece
{
    std::string text;
    bool nameBearing = false;
};

// What a row's pieces are made of besides the selectors.
struct RowValues
{
    std::string_view stem;
    const std::string& serial;
    const Clock& clock;
    const platform::LocalDateTime& taken;
};

Piece piece(const SerialPiece& chosen, const RowValues& row)
{
    const std::string_view stem = row.stem;
    const std::string& serial = row.serial;
    const Clock& clock = row.clock;
    switch (chosen.kind) {
    case PieceKind::Stem:
        return {std::string(stem), true};
    case PieceKind::Serial:
        return {serial, true};
    case PieceKind::Date:
        return {dateText(clock())};
    case PieceKind::Time:
        return {timeText(clock())};
    case PieceKind::DateTime: {
        const platform::LocalDateTime now = clock();
        return {dateText(now) + timeText(now)};
    }
    case PieceKind::Underscore:
        return {"_"};
    case PieceKind::TakenDate:
        return {dateText(row.taken)};
    case PieceKind::TakenTime:
        return {timeText(row.taken)};
    case PieceKind::TakenDateTime:
        return {dateText(row.taken) + timeText(row.taken)};
    case PieceKind::Text:
        break;
    }
    return {chosen.text};
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
    for (int r = 1; r < before.rowCount(); ++r) {
        const FileRow& row = before.row(r);
        const NameParts parts = splitName(row[NameColumn]);
        const std::optional<int> digitCount = wholeNumber(options.digitCountText);
        if (!digitCount) {
            return {SerialOutcome::DigitCountNotInteger,
                    withArguments(translate("SerialNaming", "'%1' は整数ではありません"),
                                  {options.digitCountText})};
        }
        const std::string serial = serialText(rowValue(options.start, r), *digitCount);
        const std::size_t index = static_cast<std::size_t>(r - 1);
        const platform::LocalDateTime rowTaken =
            index < taken.size()
                ? taken[index]
                : parseTimestampText(row[ModifiedColumn]).value_or(platform::LocalDateTime());
        const RowValues values{parts.stem, serial, clock, rowTaken};
        const Piece front = piece(options.front, values);
        const Piece middle = piece(options.middle, values);
        const Piece back = piece(options.back, values);
        if (!front.nameBearing && !middle.nameBearing && !back.nameBearing) {
            return {SerialOutcome::NoNameBearingPiece, translate("SerialNaming", noNameBearingPieceMessage)};
        }
        std::string name = front.text + middle.text + back.text;
        name.append(parts.extension);
        after.setRow(r, FileRow(name, row[SizeColumn], row[CreatedColumn], row[ModifiedColumn],
                                row[AccessedColumn], row[AttributesColumn]));
    }
    return {};
}

} // namespace quorvane::core
