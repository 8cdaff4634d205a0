#pragma once

#include "core/listing/FileTable.h"
#include "core/text/Translation.h"
#include "platform/LocalTime.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::core {

// The local wall clock, read afresh for every date or time piece; platform::localNow in the program.
using Clock = std::function<platform::LocalDateTime()>;

// What a piece selector puts into the name: one of its six items, or the text typed into it.
enum class PieceKind
{
    Text, // the typed text, inserted as it is
    Stem, // the file's name without its extension
    Serial,
    Date,          // YYYYMMDD
    Time,          // HHMMSS
    DateTime,      // YYYYMMDDHHMMSS
    Underscore,    // "_"
    TakenDate,     // YYYYMMDD of the file's date taken
    TakenTime,     // HHMMSS of the file's date taken
    TakenDateTime, // YYYYMMDDHHMMSS of the file's date taken
};

// A selector's piece. The window tells an item from typed text by the item the selector shows, in
// whichever language it shows it, so a typed text is never taken for an item.
struct SerialPiece
{
    PieceKind kind = PieceKind::Text;
    std::string text; // the typed text, for PieceKind::Text

    SerialPiece() = default;
    SerialPiece(PieceKind item) : kind(item) {}
    SerialPiece(std::string typed) : text(std::move(typed)) {}
    SerialPiece(const char* typed) : text(typed) {}

    bool operator==(const SerialPiece&) const = default;
};

// The nine items of every piece selector in list order, each with its words: the source text the
// selector shows translated, and what the settings file keeps for the item.
struct PieceItem
{
    PieceKind kind;
    const char* words;
};
inline constexpr PieceItem pieceItems[] = {
    {PieceKind::Stem, QT_TRANSLATE_NOOP("SerialPieces", "元ファイル名")},
    {PieceKind::Serial, QT_TRANSLATE_NOOP("SerialPieces", "連番")},
    {PieceKind::Date, QT_TRANSLATE_NOOP("SerialPieces", "日付(YYYYMMDD)")},
    {PieceKind::Time, QT_TRANSLATE_NOOP("SerialPieces", "時刻(HHMMSS)")},
    {PieceKind::DateTime, QT_TRANSLATE_NOOP("SerialPieces", "日付+時刻(YYYYMMDDHHMMSS)")},
    {PieceKind::Underscore, QT_TRANSLATE_NOOP("SerialPieces", "_(アンダーライン)")},
    {PieceKind::TakenDate, QT_TRANSLATE_NOOP("SerialPieces", "撮影日(YYYYMMDD)")},
    {PieceKind::TakenTime, QT_TRANSLATE_NOOP("SerialPieces", "撮影時刻(HHMMSS)")},
    {PieceKind::TakenDateTime, QT_TRANSLATE_NOOP("SerialPieces", "撮影日+時刻(YYYYMMDDHHMMSS)")},
};

// The piece the settings file keeps as text: the item of those words (byte for byte), else typed
// text; and back.
SerialPiece pieceOfStoredText(std::string_view text);
std::string storedText(const SerialPiece& piece);

struct SerialOptions
{
    SerialPiece front; // the three selectors' pieces
    SerialPiece middle;
    SerialPiece back;
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
    std::string message; // empty when planned, else in the user's language
};

inline constexpr const char* noNameBearingPieceMessage =
    QT_TRANSLATE_NOOP("SerialNaming", "【元ファイル名】もしくは【連番】を必ずファイル名に含めてください");

// Whether a piece names the file by when it was taken, so that the dates taken must be read first.
bool usesDateTaken(const SerialOptions& options);

// The local time each file row was taken, row 1 first.
using TakenTimes = std::vector<platform::LocalDateTime>;

// Writes the after list's row count and, for every file row, the name composed of the front, middle
// and back pieces followed by the row's extension, with columns 1 to 5 copied. The row count is set
// even when the result is a refusal; the cells are then left as they were. The date-taken pieces
// read taken; a row it does not reach has its listed modified time.
SerialResult planSerialNaming(const FileTable& before, FileTable& after, const SerialOptions& options,
                              const Clock& clock, const TakenTimes& taken = {});

// The serial value as decimal text, zero-padded on the left to at least digitCount digits, the
// minus sign of a negative value ahead of the padding. A digit count of 0 or less adds no zeros.
std::string serialText(std::int64_t value, int digitCount);

} // namespace quorvane::core
