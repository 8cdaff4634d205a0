#include "AttributeChange.h"

#include "core/listing/Identity.h"
#include "core/listing/TextForms.h"

namespace quorvane::core {

char attributeCharacter(char letter, bool checked, AttributeMode mode, std::string_view beforeText)
{
    const bool had = beforeText.find(letter) != std::string_view::npos;
    switch (mode) {
    case AttributeMode::Add:
        return checked || had ? letter : '-';
    case AttributeMode::Remove:
        return !checked && had ? letter : '-';
    case AttributeMode::Replace:
        return checked ? letter : '-';
    }
    return '-';
}

std::string plannedAttributeText(std::string_view beforeText, const AttributeOptions& options)
{
    return {attributeCharacter('R', options.readOnly, options.mode, beforeText),
            attributeCharacter('H', options.hidden, options.mode, beforeText),
            attributeCharacter('S', options.system, options.mode, beforeText),
            attributeCharacter('A', options.archive, options.mode, beforeText)};
}

void planAttributeChange(const FileTable& before, FileTable& after, const AttributeOptions& options)
{
    after.setRowCount(before.rowCount());
    for (int row = 1; row < before.rowCount(); ++row) {
        FileRow planned = before.row(row);
        planned.set(AttributesColumn, plannedAttributeText(planned[AttributesColumn], options));
        after.setRow(row, std::move(planned));
    }
}

ChangeRunResult runAttributeChange(const FileTable& before, const FileTable& after, std::string_view folder,
                                   platform::FileSystem& fileSystem, UndoSnapshot& snapshot,
                                   const RunProgress& progress, RunRecorder* recorder)
{
    ChangeRunResult result;
    UndoSnapshot run;
    if (const std::error_code error = run.take(before, after, folder, fileSystem)) {
        result.refusal = error;
        result.message = folderChangedMessage(folder);
        return result;
    }
    if (recorder != nullptr) {
        run.identifyUnknown(fileSystem);
        recorder->begin(RunKind::Attribute, run);
    }
    result.failures = changeEachFile(
        run, fileSystem, recordedProgress(recorder, progress), [&](const std::string& path, std::size_t k) {
            const std::error_code error =
                fileSystem.setAttributes(path, attributeValue(run.AfterRows[k][AttributesColumn]));
            run.readAfterState(fileSystem, path, k);
            return error;
        });
    if (recorder != nullptr) {
        recorder->finish(run, result.failures.size());
    }
    snapshot = std::move(run);
    result.message = withFailureList(translate("Runs", attributeCompletedMessage),
                                     translate("Runs", "属性を変更できませんでした"), result.failures);
    return result;
}

} // namespace quorvane::core
