#include "platform/posix/DosAttributeReader.h"

#include "platform/posix/PosixFileSystem.h"
#include "support/TempFolder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <sys/xattr.h>
#include <unistd.h>

namespace quorvane::platform {
namespace {

using posix::DosAttributeReader;
using testing::TempFolder;

struct StoreCase
{
    const char* says;
    std::string dosAttrib; // the whole user.DOSATTRIB value; empty: none
    int otherAttributes;   // how many other user attributes the file carries
    bool link;
    std::uint32_t attributes; // the bits the listing shows
};

const StoreCase storeCases[] = {
    {"a file without extended attributes has no bits", "", 0, false, 0},
    {"a file with the hidden and archive bits has them", std::string("0x22", 5), 0, false,
     AttributeBit::Hidden | AttributeBit::Archive},
    {"a file with only other attributes has no bits", "", 2, false, 0},
    {"the value is found among other attributes", std::string("0x4", 4), 2, false, AttributeBit::System},
    {"the value is found among more names than a small list holds", std::string("0x2", 4), 20, false,
     AttributeBit::Hidden},
    {"a value longer than a small buffer is read whole", std::string("0x24", 5) + std::string(300, '\0'), 0,
     false, AttributeBit::System | AttributeBit::Archive},
    {"a symbolic link has no bits", "", 0, true, 0},
};

void setAttribute(const std::string& path, const std::string& name, const std::string& value)
{
    ASSERT_EQ(lsetxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0), 0) << path << " " << name;
}

// Many files of every kind, mixed, so that a listing reads each kind on several threads, and not only
// as the first file a reader meets.
TEST(DosAttributeReader, GivesEveryFileTheBitsItsPathGives)
{
    constexpr int filesPerCase = 200;
    const TempFolder folder;
    std::map<std::string, const StoreCase*> caseOf;
    for (int i = 0; i < filesPerCase; ++i) {
        for (const StoreCase& c : storeCases) {
            const std::string name = "file" + std::to_string(caseOf.size());
            caseOf[name] = &c;
            const std::string path = folder.pathOf(name);
            if (c.link) {
                ASSERT_EQ(symlink("target", path.c_str()), 0);
                continue;
            }
            folder.writeFile(name);
            for (int other = 0; other < c.otherAttributes; ++other) {
                setAttribute(path, "user.comment.number" + std::to_string(other), "text");
            }
            if (!c.dosAttrib.empty()) {
                setAttribute(path, "user.DOSATTRIB", c.dosAttrib);
            }
        }
    }

    PosixFileSystem fileSystem;
    std::map<std::string, std::uint32_t> listed;
    EXPECT_FALSE(
        fileSystem.enumerate(folder.path(), "*", AttributeBit::Hidden | AttributeBit::System,
                             [&](const DirectoryEntry& entry) { listed[entry.name] = entry.attributes; }));
    ASSERT_EQ(listed.size(), caseOf.size());

    const int folderFd = open(folder.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folderFd, 0);
    DosAttributeReader relative(folderFd, folder.path(), DosAttributeReader::Calls::RelativeToFolder);
    DosAttributeReader byPath(folderFd, folder.path(), DosAttributeReader::Calls::ByPath);
    posix::DosAttributeStore store = posix::dosAttributeStoreOf(folderFd);
    for (const auto& [name, c] : caseOf) {
        const std::uint32_t plain = posix::readDosAttributes(store, folder.pathOf(name).c_str());
        EXPECT_EQ(relative.attributesOf(name.c_str()), plain) << c->says << " (" << name << ")";
        EXPECT_EQ(byPath.attributesOf(name.c_str()), plain) << c->says << " (" << name << ")";
        EXPECT_EQ(listed[name], c->attributes) << c->says << " (" << name << ")";
    }
    close(folderFd);
}

} // namespace
} // namespace quorvane::platform
