#include "WindowSupport.h"
#include "support/CaseName.h"
#include "support/ForwardingFileSystem.h"
#include "ui/window/Translations.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace quorvane::ui {
namespace {

using testing::TempFolder;

// Kana, kanji, the CJK marks ("【", "。") and the full-width and half-width forms ("：", "ｱ").
bool holdsJapanese(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x3000 && u <= 0x30ff) || (u >= 0x3400 && u <= 0x4dbf) || (u >= 0x4e00 && u <= 0x9fff) ||
               (u >= 0xf900 && u <= 0xfaff) || (u >= 0xff00 && u <= 0xffef);
    });
}

void chooseLanguage(Tfom_Main& window, const QString& code)
{
    window.cbo_Language->setCurrentIndex(window.cbo_Language->findData(code));
}

// Shows the window in Japanese again when a test ends, as the next test expects.
struct JapaneseAfterwards
{
    ~JapaneseAfterwards() { applyLanguage("ja"); }
};

// Every text a user can see on a widget, with where it was found. File and folder names (the tree,
// the lists' cells, the title's folder) are no texts of the program; the language selector names
// each language in itself.
std::vector<QString> visibleTexts(QWidget& top)
{
    std::vector<QString> texts;
    const auto add = [&texts](const QWidget* widget, const QString& text) {
        texts.push_back(widget->objectName() + QStringLiteral(": ") + text);
    };
    QList<QWidget*> widgets = top.findChildren<QWidget*>();
    widgets.prepend(&top);
    for (QWidget* widget : widgets) {
        add(widget, widget->toolTip());
        add(widget, widget->statusTip());
        add(widget, widget->whatsThis());
        if (widget->isWindow()) {
            add(widget, widget->windowTitle());
        }
        if (const auto* label = qobject_cast<QLabel*>(widget)) {
            add(widget, label->text());
        } else if (const auto* button = qobject_cast<QAbstractButton*>(widget)) {
            add(widget, button->text());
        } else if (const auto* group = qobject_cast<QGroupBox*>(widget)) {
            add(widget, group->title());
        } else if (const auto* edit = qobject_cast<QLineEdit*>(widget)) {
            add(widget, edit->text());
        } else if (const auto* combo = qobject_cast<QComboBox*>(widget)) {
            add(widget, combo->currentText());
            for (int index = 0;
                 index < combo->count() && combo->objectName() != QStringLiteral("cbo_Language"); ++index) {
                add(widget, combo->itemText(index));
            }
        } else if (const auto* tabs = qobject_cast<QTabBar*>(widget)) {
            for (int index = 0; index < tabs->count(); ++index) {
                add(widget, tabs->tabText(index));
            }
        } else if (const auto* grid = qobject_cast<FileGrid*>(widget)) {
            for (int column = 0; column < grid->model().columnCount(); ++column) {
                add(widget, grid->model().headerData(column, Qt::Horizontal).toString());
            }
        }
    }
    return texts;
}

// Checks every text of the next modal box in the same way and closes it with its first button.
void lookAtNextBox(std::vector<QString>& texts)
{
    QTimer::singleShot(0, [&texts] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        texts.push_back(box->windowTitle());
        texts.push_back(box->text());
        for (QAbstractButton* button : box->buttons()) {
            texts.push_back(button->text());
        }
        if (box->checkBox() != nullptr) {
            texts.push_back(box->checkBox()->text());
        }
        box->buttons().front()->click();
    });
}

// The first rename waits, so that the run's progress dialog shows, and is looked at part way.
class SlowFirstRename : public testing::ForwardingFileSystem
{
public:
    Tfom_Main* window = nullptr;
    std::vector<QString> progressTexts;
    int renames = 0;

    std::error_code renameNoReplace(std::string_view from, std::string_view to) override
    {
        if (++renames == 1) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        } else if (renames == 280) {
            if (const auto* dialog = window->findChild<QProgressDialog*>(QStringLiteral("dlg_Progress"))) {
                progressTexts = {dialog->windowTitle(), dialog->labelText()};
            }
        }
        return ForwardingFileSystem::renameNoReplace(from, to);
    }
};

TEST(MainWindowLanguage, WithEnglishChosenNoTextOfTheWindowItsRunsOrItsBoxesIsJapanese)
{
    const JapaneseAfterwards japanese;
    TempFolder folder;
    for (int i = 0; i < 300; ++i) {
        folder.writeFile("f" + std::to_string(i) + ".txt");
    }
    folder.writeFile("f0.dat"); // f0.txt cannot take its name
    SlowFirstRename fileSystem;
    TestWindow w(&fileSystem);
    fileSystem.window = w.window.get();
    w->show();
    chooseLanguage(*w.window, QStringLiteral("en"));
    ASSERT_TRUE(w.choose(folder.path()));
    w->btn_Preview->click();
    for (QDateTimeEdit* date : w->findChildren<QDateTimeEdit*>()) {
        date->calendarWidget(); // the calendar pop-up, made when first shown
    }
    w->edt_Ext->setText(QStringLiteral("dat"));
    w.boxes.answers = {core::Answer::Yes, core::Answer::No};
    w->btn_ChangeExtRun->click();
    w->num_NumberCnt->setText(QStringLiteral("x"));
    w->btn_AllChangeNameTest->click();

    std::vector<QString> texts = visibleTexts(*w.window);
    for (const std::vector<QString>* said :
         {&w.boxes.questions, &w.boxes.told, &w.boxes.errors, &fileSystem.progressTexts}) {
        texts.insert(texts.end(), said->begin(), said->end());
    }
    QtMessageBoxes boxes;
    bool sameForLater = false;
    for (const auto& show : std::vector<std::function<void()>>{
             [&] { boxes.ask(MessageBoxes::Kind::Information, QStringLiteral("question")); },
             [&] { boxes.askAboutFailure(QStringLiteral("failure"), sameForLater); },
             [&] { boxes.reportCompletion(QStringLiteral("done"), true); },
             [&] {
                 boxes.reportError(QStringLiteral("error"));
             }}) {
        lookAtNextBox(texts);
        show();
    }

    EXPECT_EQ(w.boxes.questions.size(), 2u); // the run's question and its failure
    EXPECT_EQ(fileSystem.progressTexts.size(), 2u);
    EXPECT_EQ(w.boxes.errors.size(), 1u); // the digit count
    for (QString text : texts) {
        // The scripted boxes name the kind of question before its text.
        for (const QString& kind : {QStringLiteral("情報: "), QStringLiteral("エラー: ")}) {
            if (text.startsWith(kind)) {
                text.remove(0, kind.size());
            }
        }
        EXPECT_FALSE(holdsJapanese(text)) << text.toStdString();
    }
}

TEST(MainWindowLanguage, TheSelectorSwitchesTheOpenWindowBackAndForthKeepingWhatTheUserChoseAndTyped)
{
    const JapaneseAfterwards japanese;
    TempFolder folder;
    folder.writeFile("a.txt");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    w->cbo_FileName1->setCurrentIndex(0); // the original name
    w->cbo_FileName2->setEditText(QStringLiteral("-旅行-"));

    chooseLanguage(*w.window, QStringLiteral("en"));
    EXPECT_EQ(w->pag_EditMenu->tabText(0), QStringLiteral("Serial"));
    EXPECT_EQ(w->btn_Filter->text(), QStringLiteral("&Filter"));
    EXPECT_EQ(w->grd_FileList1->model().headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("Name before"));
    EXPECT_EQ(w->statusText(0), QStringLiteral("1 File"));
    EXPECT_EQ(w->windowTitle(),
              QStringLiteral("Quorvane [") + QString::fromStdString(folder.path()) + QStringLiteral("]"));
    EXPECT_EQ(w->cbo_FileName1->currentText(), QStringLiteral("Original name"));
    EXPECT_EQ(w->cbo_FileName2->currentText(), QStringLiteral("-旅行-"));
    EXPECT_EQ(w->cbo_FileName3->currentText(), QStringLiteral("Serial number"));

    chooseLanguage(*w.window, QStringLiteral("ja"));
    EXPECT_EQ(w->pag_EditMenu->tabText(0), QStringLiteral("連番"));
    EXPECT_EQ(w->btn_Filter->text(), QStringLiteral("絞り込み(&F)"));
    EXPECT_EQ(w->statusText(0), QStringLiteral("1 File(s)"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Quorvane    【") + QString::fromStdString(folder.path()) +
                                    QStringLiteral("】"));
    EXPECT_EQ(w->cbo_FileName1->currentText(), QStringLiteral("元ファイル名"));
    EXPECT_EQ(w->cbo_FileName2->currentText(), QStringLiteral("-旅行-"));
    EXPECT_EQ(w->cbo_FileName3->currentText(), QStringLiteral("連番"));
}

TEST(MainWindowLanguage, TheChoiceIsKeptInTheSettingsFileAndTheItemsByTheirJapaneseWords)
{
    const JapaneseAfterwards japanese;
    std::string settings;
    {
        TestWindow first;
        chooseLanguage(*first.window, QStringLiteral("en"));
        first->cbo_FileName1->setCurrentIndex(2); // the date
        first->close();
        settings = first.settingsFolder.readFile("quorvn.ini");
    }
    EXPECT_NE(settings.find("Language=en"), std::string::npos);
    EXPECT_NE(settings.find("FileName1=日付(YYYYMMDD)"), std::string::npos);
    EXPECT_NE(settings.find("FileName3=連番"), std::string::npos);
    TestWindow second(nullptr, settings, true);
    EXPECT_EQ(second->cbo_Language->currentData().toString(), QStringLiteral("en"));
    EXPECT_EQ(second->cbo_FileName1->currentText(), QStringLiteral("Date (YYYYMMDD)"));
}

// The widgets whose text must be seen whole: captions, buttons, check boxes and group titles. The
// status bar's panels have the fixed widths the program has always given them.
std::vector<QWidget*> captionedWidgets(QWidget& window)
{
    std::vector<QWidget*> widgets;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const bool captioned = qobject_cast<QLabel*>(widget) != nullptr ||
                               qobject_cast<QGroupBox*>(widget) != nullptr ||
                               (qobject_cast<QAbstractButton*>(widget) != nullptr &&
                                !static_cast<QAbstractButton*>(widget)->text().isEmpty());
        if (captioned && widget->isVisible() &&
            !widget->objectName().startsWith(QStringLiteral("sta_StatusBar"))) {
            widgets.push_back(widget);
        }
    }
    return widgets;
}

TEST(MainWindowLanguage, NoCaptionButtonOrTabTextIsCutShortAt1000By650InEitherLanguage)
{
    const JapaneseAfterwards japanese;
    TestWindow w;
    w->show();
    w->resize(1000, 650);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.window.get()));
    for (const QString& language : {QStringLiteral("ja"), QStringLiteral("en")}) {
        chooseLanguage(*w.window, language);
        for (int tab = 0; tab < w->pag_EditMenu->count(); ++tab) {
            w->pag_EditMenu->setCurrentIndex(tab);
            QTest::qWait(0);
            // A window whose contents need more room grows past the size asked for.
            EXPECT_EQ(w->size(), QSize(1000, 650)) << language.toStdString();
            for (QWidget* widget : captionedWidgets(*w.window)) {
                // A group needs its title's width and its contents'; a caption its text's.
                const QSize needed = qobject_cast<QGroupBox*>(widget) != nullptr ? widget->minimumSizeHint()
                                                                                 : widget->sizeHint();
                EXPECT_GE(widget->width(), needed.width())
                    << widget->objectName().toStdString() << " in " << language.toStdString();
                // The lower area has the fixed height it always had: rows may stand closer than the
                // style would like, but never closer than a line of text.
                EXPECT_GE(widget->height(), widget->fontMetrics().height())
                    << widget->objectName().toStdString() << " in " << language.toStdString();
            }
            QTabBar* tabs = w->pag_EditMenu->tabBar();
            const QString title = tabs->tabText(tab).remove(QLatin1Char('&'));
            EXPECT_GE(tabs->tabRect(tab).width(), tabs->fontMetrics().horizontalAdvance(title))
                << title.toStdString();
        }
    }
}

struct LocaleCase
{
    const char* says;
    const char* messagesLocale;
    QString firstTab;
};

const LocaleCase localeCases[] = {
    {"an English locale opens in English", "en_US.UTF-8", QStringLiteral("Serial")},
    {"a locale without a translation opens in English", "fr_FR.UTF-8", QStringLiteral("Serial")},
    {"a Japanese locale opens in Japanese", "ja_JP.UTF-8", QStringLiteral("連番")},
    {"the C locale opens in Japanese", "C.UTF-8", QStringLiteral("連番")},
};

class OpeningLanguage : public ::testing::TestWithParam<LocaleCase>
{};

TEST_P(OpeningLanguage, FollowsTheLocaleWhenTheChoiceIsAutomatic)
{
    const JapaneseAfterwards japanese;
    const QByteArray before = qgetenv("LC_MESSAGES");
    qputenv("LC_MESSAGES", GetParam().messagesLocale);
    const TestWindow w;
    qputenv("LC_MESSAGES", before);
    EXPECT_EQ(w->pag_EditMenu->tabText(0), GetParam().firstTab) << GetParam().says;
}

INSTANTIATE_TEST_SUITE_P(MainWindowLanguage, OpeningLanguage, ::testing::ValuesIn(localeCases),
                         testing::SaysName());

struct PiecesCase
{
    const char* says;
    int front; // an item's index, or -1 for the typed text
    QString typed;
    int back;
};

const PiecesCase piecesCases[] = {
    {"the original name and the serial", 0, {}, 1},
    {"typed text and the serial", -1, QStringLiteral("trip-"), 1},
    {"the underscore and the original name", 5, {}, 0},
};

class SerialPiecesInBothLanguages : public ::testing::TestWithParam<PiecesCase>
{};

TEST_P(SerialPiecesInBothLanguages, GiveTheSameNames)
{
    const JapaneseAfterwards japanese;
    const PiecesCase& c = GetParam();
    TempFolder folder;
    folder.writeFile("photo.jpg");
    folder.writeFile("notes.txt");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    std::vector<std::vector<std::string>> names;
    for (const QString& language : {QStringLiteral("ja"), QStringLiteral("en")}) {
        chooseLanguage(*w.window, language);
        if (c.front >= 0) {
            w->cbo_FileName1->setCurrentIndex(c.front);
        } else {
            w->cbo_FileName1->setCurrentIndex(-1);
            w->cbo_FileName1->setEditText(c.typed);
        }
        w->cbo_FileName3->setCurrentIndex(c.back);
        w->btn_AllChangeNameTest->click();
        names.push_back(column(w->after, core::NameColumn));
    }
    EXPECT_EQ(names[0], names[1]) << c.says;
    EXPECT_FALSE(names[1][0].empty()) << c.says;
}

INSTANTIATE_TEST_SUITE_P(MainWindowLanguage, SerialPiecesInBothLanguages, ::testing::ValuesIn(piecesCases),
                         testing::SaysName());

} // namespace
} // namespace quorvane::ui
