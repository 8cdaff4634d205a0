#pragma once

#include "core/listing/FileTable.h"
#include "core/runs/RunFailure.h"
#include "core/runs/RunRecorder.h"
#include "core/runs/UndoSnapshot.h"
#include "core/text/Translation.h"
#include "platform/FileSystem.h"

#include <string>
#include <string_view>

namespace quorvane::core {

// The three ways the checked attributes apply, in the order of the tab's radio group.
enum class AttributeMode : int
{
    Add = 0,     // checked attributes are set, the others kept
    Remove = 1,  // checked attributes are cleared, the others kept
    Replace = 2, // checked attributes are set, all others cleared
};

struct AttributeOptions
{
    bool readOnly = false;
    bool hidden = false;
    bool system = false;
    bool archive = false;
    AttributeMode mode = AttributeMode::Add;
};

inline constexpr const char* attributeCompletedMessage = QT_TRANSLATE_NOOP("Runs", "属性変更が完了しました");

// The character of one attribute in the planned text: its letter or "-", decided by the mode,
// whether its box is checked, and whether the letter occurs anywhere in the before text.
char attributeCharacter(char letter, bool checked, AttributeMode mode, std::string_view beforeText);

// The four-character planned text for a before text: read-only, hidden, system, archive.
std::string plannedAttributeText(std::string_view beforeText, const AttributeOptions& options);

// Sets the after list's row count to the before list's, copies columns 0 to 4 of every file row and
// writes the planned attribute text into column 5.
void planAttributeChange(const FileTable& before, FileTable& after, const AttributeOptions& options);

// Takes a snapshot of both lists, then makes the attribute value of each after-list row's text the
// whole attribute set of the file of the same before-list row, each checked to be the file listed.
// Every file is tried; an attribute that the file system cannot store counts as a failure. Nothing
// changes, and the snapshot stays as it was, when the folder is gone or is another folder now.
ChangeRunResult runAttributeChange(const FileTable& before, const FileTable& after, std::string_view folder,
                                   platform::FileSystem& fileSystem, UndoSnapshot& snapshot,
                                   const RunProgress& progress = {}, RunRecorder* recorder = nullptr);

} // namespace quorvane::core
