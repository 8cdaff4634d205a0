#pragma once

#include "support/TempFolder.h"
#include "ui/window/MainWindow.h"
#include "ui/window/MessageBoxes.h"

#include <QTest>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quorvane::ui {

// Message boxes that answer from a script and remember what they were shown.
class ScriptedBoxes : public MessageBoxes
{
public:
    std::deque<core::Answer> answers; // taken in order; Yes when the script has run out
    // Whether the failure question's check box is checked, taken in order; unchecked when run out.
    std::deque<bool> sameForLaterErrors;
    std::vector<QString> questions;
    std::vector<QString> told;                    // plain messages and completion messages alike
    std::vector<bool> completionsListingFailures; // per completion message: shown with the warning icon
    std::vector<QString> errors;
    // What another program does while a question is open, given the question's text.
    std::function<void(const QString& text)> whileAsking;

    core::Answer ask(Kind kind, const QString& text) override
    {
        questions.push_back(
            (kind == Kind::Information ? QStringLiteral("情報: ") : QStringLiteral("エラー: ")) + text);
        if (whileAsking) {
            whileAsking(text);
        }
        if (answers.empty()) {
            return core::Answer::Yes;
        }
        const core::Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    core::Answer askAboutFailure(const QString& text, bool& sameForLater) override
    {
        sameForLater = !sameForLaterErrors.empty() && sameForLaterErrors.front();
        if (!sameForLaterErrors.empty()) {
            sameForLaterErrors.pop_front();
        }
        return ask(Kind::Error, text);
    }
    void tell(const QString& text) override { told.push_back(text); }
    void reportCompletion(const QString& text, bool listsFailures) override
    {
        told.push_back(text);
        completionsListingFailures.push_back(listsFailures);
    }
    void reportError(const QString& text) override { errors.push_back(text); }
};

// A main window with scripted boxes, its settings file in a folder of its own, over the real file
// system unless a test hands in a failing one.
struct TestWindow
{
    testing::TempFolder settingsFolder;
    ScriptedBoxes boxes;
    std::unique_ptr<Tfom_Main> window;

    explicit TestWindow(platform::FileSystem* fileSystem = nullptr, const std::string& settingsText = {},
                        bool writeSettings = false)
    {
        if (writeSettings) {
            settingsFolder.writeFile("quorvn.ini", settingsText);
        }
        window = std::make_unique<Tfom_Main>(boxes, settingsPath(), fileSystem);
    }

    std::string settingsPath() const { return settingsFolder.pathOf("quorvn.ini"); }
    Tfom_Main* operator->() const { return window.get(); }

    // Chooses a folder in the tree and waits for the full refresh that follows the tree's delay.
    bool choose(const std::string& folder)
    {
        const QString path = QString::fromStdString(folder);
        window->selectFolder(path);
        return QTest::qWaitFor([&] { return window->windowTitle().contains(path); }, 5000);
    }
};

inline std::vector<std::string> column(const core::FileTable& table, int col)
{
    std::vector<std::string> cells;
    for (int row = 1; row < table.rowCount(); ++row) {
        cells.emplace_back(table.cell(col, row));
    }
    return cells;
}

} // namespace quorvane::ui
