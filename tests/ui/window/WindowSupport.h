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
    std::vector<QString> questions;
    std::vector<QString> told;
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
    void tell(const QString& text) override { told.push_back(text); }
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
