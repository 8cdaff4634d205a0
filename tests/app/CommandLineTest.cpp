#include "app/CommandLine.h"

#include "support/CaseName.h"
#include "ui/window/WindowSupport.h"

#include <QDir>
#include <QTreeView>
#include <algorithm>
#include <gtest/gtest.h>
#include <ostream>

namespace quorvane::app {
namespace {

using ui::column;
using ui::TestWindow;

using testing::TempFolder;

struct ParseCase
{
    const char* says;
    QStringList arguments;
    CommandLine::Action action;
    QString folder;
};

void PrintTo(const ParseCase& c, std::ostream* out)
{
    *out << c.says;
}

class CommandLineParse : public ::testing::TestWithParam<ParseCase>
{};

const ParseCase parseCases[] = {
    {"no argument opens the window on the default folder", {}, CommandLine::Action::OpenWindow, {}},
    {"a folder argument is kept as given",
     {QStringLiteral("photos/")},
     CommandLine::Action::OpenWindow,
     QStringLiteral("photos/")},
    {"only the first of several arguments is the folder",
     {QStringLiteral("/a"), QStringLiteral("/b")},
     CommandLine::Action::OpenWindow,
     QStringLiteral("/a")},
    {"an unknown option counts as a folder",
     {QStringLiteral("-x")},
     CommandLine::Action::OpenWindow,
     QStringLiteral("-x")},
    {"help asks for the help line", {QStringLiteral("--help")}, CommandLine::Action::PrintHelp, {}},
    {"version asks for the version line",
     {QStringLiteral("--version")},
     CommandLine::Action::PrintVersion,
     {}},
    {"help after a folder still prints the help",
     {QStringLiteral("/a"), QStringLiteral("--help")},
     CommandLine::Action::PrintHelp,
     {}},
    {"help wins over version",
     {QStringLiteral("--version"), QStringLiteral("--help")},
     CommandLine::Action::PrintHelp,
     {}},
};

TEST_P(CommandLineParse, ReadsOnlyAFolderHelpAndVersion)
{
    const ParseCase& c = GetParam();
    const CommandLine line = CommandLine::parse(c.arguments);
    EXPECT_EQ(line.action, c.action);
    EXPECT_EQ(line.folder, c.folder);
}

INSTANTIATE_TEST_SUITE_P(CommandLine, CommandLineParse, ::testing::ValuesIn(parseCases), testing::SaysName());

// Where the window opens for an argument made from a temporary folder holding the folder
// "photos" with two files and the file "notes.txt".
struct StartCase
{
    const char* says;
    const char* argument; // "<tmp>" stands for the temporary folder; a relative one is read from it
    const char* opens;    // the folder chosen below the temporary folder, or nullptr for the default
};

void PrintTo(const StartCase& c, std::ostream* out)
{
    *out << c.says;
}

class StartFolder : public ::testing::TestWithParam<StartCase>
{};

const StartCase startCases[] = {
    {"an existing folder is chosen and listed", "<tmp>/photos", "photos"},
    {"a folder with a trailing slash and dot parts is chosen by its plain path", "<tmp>/photos/../photos/.//",
     "photos"},
    {"a relative folder is read from the working directory", "photos", "photos"},
    {"a folder that does not exist opens the default folder", "<tmp>/gone", nullptr},
    {"a file opens the default folder", "<tmp>/notes.txt", nullptr},
    {"an empty argument opens the default folder", "", nullptr},
};

TEST_P(StartFolder, OpensTheFolderTheArgumentNamesOrTheDefaultFolder)
{
    const StartCase& c = GetParam();
    TempFolder folder;
    folder.makeFolder("photos");
    folder.writeFile("photos/a.jpg", "a");
    folder.writeFile("photos/b.jpg", "bb");
    folder.writeFile("notes.txt", "n");
    const QString previousDirectory = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(folder.path())));

    TestWindow w;
    const QString defaultFolder = w->selectedFolder();
    ASSERT_FALSE(defaultFolder.isEmpty());
    QString argument = QString::fromUtf8(c.argument);
    argument.replace(QStringLiteral("<tmp>"), QString::fromStdString(folder.path()));
    openFolderAtStart(*w.window, argument);
    QDir::setCurrent(previousDirectory);

    const QString expected =
        c.opens == nullptr ? defaultFolder : QString::fromStdString(folder.pathOf(c.opens));
    EXPECT_EQ(w->selectedFolder(), expected);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->windowTitle().contains(expected); }, 5000));
    if (c.opens != nullptr) {
        std::vector<std::string> names = column(w->before, core::NameColumn);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"a.jpg", "b.jpg"}));
        EXPECT_TRUE(w->trr_DirList->isExpanded(w->trr_DirList->currentIndex()));
    }
}

INSTANTIATE_TEST_SUITE_P(CommandLine, StartFolder, ::testing::ValuesIn(startCases), testing::SaysName());

} // namespace
} // namespace quorvane::app
