#pragma once

#include "core/listing/FileTable.h"
#include "platform/LocalTime.h"

#include <cstdint>
#include <functional>
#include <string>

namespace quorvane::core {

// The local wall clock, read afresh for every date or time piece; platform::localNow in the program.
using Clock = std::function<platform::LocalDateTime()>;

// The six items of every piece selector, in list order. A selector's text is compared with them
// exactly: byte for byte, case-sensitive, untrimmed.
inline constexpr std::string_view stemPieceItem = "元ファイル名";
inline constexpr std::string_view serialPieceItem = "連番";
inline constexpr std::string_view datePieceItem = "日付(YYYYMMDD)";
inline constexpr std::string_view timePieceItem = "時刻(HHMMSS)";
inline constexpr std::string_view dateTimePieceItem = "日付+時刻(YYYYMMDDHHMMSS)";
inline constexpr std::string_view underscorePieceItem = "_(アンダーライン)";

struct SerialOptions
{
    std::string front; // the three selectors' texts
    std::string middle;
    std::string back;
    std::int64_t start = 0;           // the serial start field's committed value, a whole number
    std::string digitCountText = "1"; // the digit count field's text, read as it stands
};

enum class SerialOutcome
{
    Planned,
    NoNameBearingPiece,   // no cell written; the window shows noNameBearingPieceMessage in a box
    DigitCountNotInteger, // no cell written; the window reports message as a conversion error
};

struct SerialResult
{
    SerialOutcome outcome = SerialOutcome::Planned;
    std::string message; // empty when planned
};

inline constexpr std::string_view noNameBearingPieceMessage =
    "【元ファイル名】もしくは【連番】を必ずファイル名に含めてください";

// Writes the after list's row count and, for every file row, the name composed of the front, middle
// and back pieces followed by the row's extension, with columns 1 to 5 copied. The row count is set
// even when the result is a refusal; the cells are then left as they were.
SerialResult planSerialNaming(const FileTable& before, FileTable& after, const SerialOptions& options,
                              const Clock& clock);

// The serial value as decimal text, zero-padded on the left to at least digitCount digits, the
// minus sign of a negative value ahead of the padding. A digit count of 0 or less adds no zeros.
std::string serialText(std::int64_t value, int digitCount);

} // namespace quorvane::core
