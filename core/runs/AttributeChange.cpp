#include "AttributeChange.h"

#include "core/Path.h"
#include "core/TextForms.h"

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
                                   const RunProgress& progress)
{
    snapshot.take(before, after, folder, fileSystem);
    ChangeRunResult result;
    std::string path = folderPrefix(folder);
    const std::size_t prefixLength = path.size();
    const std::size_t count = snapshot.size();
    ProgressTicker ticker(progress, count);

    for (std::size_t k = 0; k < count; ++k) {
        const std::string_view name = snapshot.BeforeRows[k][NameColumn];
        std::error_code error;
        if (!isUsableName(name)) {
            error = makeError(RunError::UnusableName);
        } else {
            path.resize(prefixLength);
            path.append(name);
            error = fileSystem.setAttributes(path, attributeValue(snapshot.AfterRows[k][AttributesColumn]));
        }
        if (error) {
            result.failures.push_back({static_cast<int>(k + 1), std::string(name), error});
        }
        ticker.advance(k + 1);
    }
    result.message = withFailureList(std::string(attributeCompletedMessage), "属性を変更できませんでした",
                                     result.failures);
    return result;
}

} // namespace quorvane::core
