#include "ExtensionRule.h"

#include "NameParts.h"

namespace quorvane::core {

void planExtensionChange(const FileTable& before, FileTable& after, const ExtensionOptions& options)
{
    after.setRowCount(before.rowCount());
    std::string name;
    for (int r = 1; r < before.rowCount(); ++r) {
        const FileRow& row = before.row(r);
        name.assign(splitName(row[NameColumn]).stem);
        if (!options.newExtension.empty()) {
            name.push_back('.');
            name.append(options.newExtension);
        }
        after.setRow(r, FileRow(name, row[SizeColumn], row[CreatedColumn], row[ModifiedColumn],
                                row[AccessedColumn], row[AttributesColumn]));
    }
}

} // namespace quorvane::core
