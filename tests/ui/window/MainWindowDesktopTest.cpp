// The window on a Linux desktop: name order, readable colours in light and dark themes, the
// conventions users reach for (tool tips, shortcuts, focus, Japanese pickers, the title, the
// window's place), failures asked once, each timestamp on its own, room for the lists and the
// inputs kept from one start to the next.

#include "WindowSupport.h"
#include "support/CaseName.h"
#include "ui/widgets/ReadableColours.h"
#include "ui/window/Application.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QSplitter>
#include <QStyle>
#include <QTimeEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

namespace quorvane::ui {
namespace {

using testing::TempFolder;

void activate(TestWindow& w)
{
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.window.get()));
}

// --- Name order ---------------------------------------------------------------------------------

TEST(MainWindowDesktop, AFolderIsListedAndNumberedInNameOrderAndTheHeaderShowsTheSort)
{
    TempFolder folder;
    for (const char* name : {"c.jpg", "a.jpg", "B.jpg"}) {
        folder.writeFile(name, name);
    }
    folder.writeFile("a.jpg", "larger than the others");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    EXPECT_EQ(column(w->before, core::NameColumn), (std::vector<std::string>{"a.jpg", "B.jpg", "c.jpg"}));
    EXPECT_EQ(w->grd_FileList1->sortColumn(), core::NameColumn);
    EXPECT_EQ(w->grd_FileList2->sortColumn(), -1);
    w->btn_AllChangeNameTest->click();
    EXPECT_EQ(column(w->after, core::NameColumn), (std::vector<std::string>{"0.jpg", "1.jpg", "2.jpg"}));

    QHeaderView* header = w->grd_FileList1->horizontalHeader();
    const QImage sortedByName = header->grab().toImage();
    QTest::mousePress(
        header->viewport(), Qt::LeftButton, {},
        QPoint(header->sectionViewportPosition(core::SizeColumn) + header->sectionSize(core::SizeColumn) / 2,
               header->height() / 2));
    EXPECT_EQ(w->grd_FileList1->sortColumn(), core::SizeColumn);
    EXPECT_NE(header->grab().toImage(), sortedByName) << "the indicator moves to the pressed column";
    w->grd_FileList1->showSortColumn(-1);
    const QImage unsorted = header->grab().toImage();
    w->grd_FileList1->showSortColumn(core::SizeColumn);
    EXPECT_NE(header->grab().toImage(), unsorted) << "the indicator is drawn";

    w->btn_DownLine->click();
    EXPECT_EQ(w->grd_FileList1->sortColumn(), -1) << "moved rows are in no sort's order";
    w->btn_Filter->click();
    EXPECT_EQ(w->grd_FileList1->sortColumn(), core::NameColumn);
}

// --- Colours ------------------------------------------------------------------------------------

QPalette darkFusionPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    dark.setColor(QPalette::AlternateBase, QColor(53, 53, 53));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(53, 53, 53));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, QColor(35, 35, 35));
    dark.setColor(QPalette::ToolTipBase, QColor(25, 25, 25));
    dark.setColor(QPalette::ToolTipText, Qt::white);
    return dark;
}

struct ColourPair
{
    std::string what;
    QColor text;
    QColor background;
};

// Every text on a colour of its own that the window draws, read from the widgets that draw it.
std::vector<ColourPair> drawnPairs(Tfom_Main& window)
{
    std::vector<ColourPair> pairs;
    for (FileGrid* list : {window.grd_FileList1, window.grd_FileList2}) {
        const std::string name = list->objectName().toStdString();
        const QPalette cells = list->palette();
        const QPalette header = list->horizontalHeader()->palette();
        pairs.push_back({name + " cells", cells.color(QPalette::Text), cells.color(QPalette::Base)});
        pairs.push_back({name + " selected rows", cells.color(QPalette::HighlightedText),
                         cells.color(QPalette::Highlight)});
        pairs.push_back(
            {name + " header", header.color(QPalette::ButtonText), header.color(QPalette::Button)});
        pairs.push_back(
            {name + " marked names", FileGrid::warningInk(cells, false), cells.color(QPalette::Base)});
        pairs.push_back({name + " marked names selected", FileGrid::warningInk(cells, true),
                         cells.color(QPalette::Highlight)});
    }
    const QPalette tree = window.trr_DirList->palette();
    pairs.push_back(
        {"chosen folder", tree.color(QPalette::HighlightedText), tree.color(QPalette::Highlight)});
    const QPalette about = window.findChild<QWidget*>(QStringLiteral("pnl_About"))->palette();
    pairs.push_back({"about panel", about.color(QPalette::WindowText), about.color(QPalette::Window)});
    return pairs;
}

// The colour the list draws at a point of a row, left of its text.
QColor drawnAt(FileGrid& list, int row)
{
    const QImage picture = list.viewport()->grab().toImage();
    return picture.pixelColor(2, list.rowViewportPosition(row) + 2);
}

void expectReadable(Tfom_Main& window, const char* theme)
{
    for (const ColourPair& pair : drawnPairs(window)) {
        EXPECT_GE(contrastRatio(pair.text, pair.background), readableContrast)
            << theme << ": " << pair.what << " " << pair.text.name().toStdString() << " on "
            << pair.background.name().toStdString();
    }
    const QPalette cells = window.grd_FileList1->palette();
    EXPECT_EQ(drawnAt(*window.grd_FileList1, 0), cells.color(QPalette::Highlight)) << theme;
    EXPECT_EQ(drawnAt(*window.grd_FileList1, 1), cells.color(QPalette::Base)) << theme;
}

// A change of the application's palette as the running event loop delivers it to every control;
// the tests run without that loop.
void changeTheme(const QPalette& palette)
{
    QApplication::setPalette(palette);
    QEvent change(QEvent::ApplicationPaletteChange);
    for (QWidget* widget : QApplication::allWidgets()) {
        if (!widget->isWindow()) {
            QApplication::sendEvent(widget, &change);
        }
    }
}

TEST(MainWindowDesktop, EveryTextReadsOnItsBackgroundInTheLightThemeAndInADarkOne)
{
    EXPECT_EQ(contrastRatio(Qt::black, Qt::white), 21.0);
    EXPECT_NEAR(contrastRatio(QColor(0x77, 0x77, 0x77), Qt::white), 4.48, 0.01);

    TempFolder folder;
    folder.writeFile("a.txt");
    folder.writeFile("b.txt");
    const QPalette light = QApplication::palette();
    QApplication::setPalette(darkFusionPalette());
    {
        TestWindow startedDark;
        ASSERT_TRUE(startedDark.choose(folder.path()));
        expectReadable(*startedDark.window, "dark at start");
    }
    QApplication::setPalette(light);

    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    expectReadable(*w.window, "light");
    EXPECT_EQ(w->grd_FileList1->palette().color(QPalette::Base), QColor(177, 254, 218))
        << "the lists' own mint";
    EXPECT_EQ(w->grd_FileList1->horizontalHeader()->palette().color(QPalette::Button), QColor(138, 158, 251));
    changeTheme(darkFusionPalette());
    expectReadable(*w.window, "dark");
    EXPECT_NE(w->grd_FileList1->palette().color(QPalette::Base), QColor(177, 254, 218)) << "no glaring mint";
    changeTheme(light);
    EXPECT_EQ(w->grd_FileList1->palette().color(QPalette::Base), QColor(177, 254, 218));
}

// --- Conventions --------------------------------------------------------------------------------

TEST(MainWindowDesktop, EveryToolbarButtonShowsItsHintAsAToolTipAndQuitHasTheExitIcon)
{
    TestWindow w;
    int buttons = 0;
    for (QAbstractButton* button : w->tol_ToolBar->findChildren<QAbstractButton*>()) {
        if (!button->objectName().startsWith(QStringLiteral("btn_"))) {
            continue; // the toolbar's own extension button
        }
        ++buttons;
        EXPECT_FALSE(button->toolTip().isEmpty()) << button->objectName().toStdString();
        EXPECT_EQ(button->toolTip(), button->statusTip()) << button->objectName().toStdString();
    }
    EXPECT_EQ(buttons, 10);

    const QString theme = QIcon::themeName();
    QIcon::setThemeName(QStringLiteral("Adwaita"));
    if (QIcon::hasThemeIcon(QStringLiteral("application-exit"))) {
        TestWindow themed;
        EXPECT_EQ(themed->btn_Quit->icon().name(), QStringLiteral("application-exit"));
    }
    QIcon::setThemeName(theme);
}

TEST(MainWindowDesktop, CtrlZUndoesWhenUndoIsOfferedF5ListsAgainAndCtrlQQuits)
{
    TempFolder folder;
    folder.writeFile("a.txt");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    activate(w);
    w->trr_DirList->setFocus();

    QTest::keyClick(w.window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(w.boxes.questions.empty()) << "no undo is offered yet";
    w->btn_Return->setEnabled(true);
    w.boxes.answers = {core::Answer::No};
    QTest::keyClick(w.window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.boxes.questions, std::vector<QString>{QStringLiteral("情報: 変更を取り消します")});

    w->pag_EditMenu->setCurrentWidget(w->tab_FileNameExt);
    w->edt_Ext->setFocus();
    ASSERT_TRUE(w->edt_Ext->hasFocus());
    QTest::keyClicks(w->edt_Ext, QStringLiteral("jpg"));
    QTest::keyClick(w->edt_Ext, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.boxes.questions.size(), 1u) << "in a text field Ctrl+Z undoes the typing";
    EXPECT_NE(w->edt_Ext->text(), QStringLiteral("jpg"));

    folder.writeFile("b.txt");
    QTest::keyClick(w.window.get(), Qt::Key_F5);
    EXPECT_EQ(column(w->before, core::NameColumn), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_TRUE(w->btn_Return->isEnabled()) << "listing again keeps the undo";

    QTest::keyClick(w.window.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(w->isVisible());
}

TEST(MainWindowDesktop, TheKeyboardFocusShowsInTheTreeAndBothLists)
{
    TempFolder folder;
    folder.writeFile("a.txt");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    activate(w);
    // The tree reads its folders in the background; the chosen one must be on screen to be outlined.
    QTreeView* tree = w->trr_DirList;
    ASSERT_TRUE(QTest::qWaitFor([tree] {
        tree->scrollTo(tree->currentIndex());
        const QRect shown = tree->visualRect(tree->currentIndex());
        return !shown.isEmpty() && tree->viewport()->rect().intersects(shown);
    }));
    for (QAbstractItemView* view :
         std::initializer_list<QAbstractItemView*>{w->trr_DirList, w->grd_FileList1, w->grd_FileList2}) {
        w->cbo_FileType->setFocus(Qt::MouseFocusReason);
        const QImage unfocused = view->viewport()->grab().toImage();
        view->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(view->hasFocus());
        EXPECT_NE(view->viewport()->grab().toImage(), unfocused) << view->objectName().toStdString();
    }
}

TEST(MainWindowDesktop, TheDatePickersSpeakJapaneseStartTheWeekOnSundayAndTakeTypedDigits)
{
    TempFolder folder;
    folder.writeFile("a.txt");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    for (QDateTimeEdit* date : {w->dtt_ModifyDate, w->dtt_AccessDate}) {
        EXPECT_EQ(date->locale().language(), QLocale::Japanese);
        EXPECT_EQ(date->calendarWidget()->locale().language(), QLocale::Japanese);
        EXPECT_EQ(date->calendarWidget()->firstDayOfWeek(), Qt::Sunday);
    }
    EXPECT_EQ(w->dtt_ModifyTime->locale().language(), QLocale::Japanese);

    activate(w);
    w->pag_EditMenu->setCurrentWidget(w->tab_FileNameDate);
    w->dtt_ModifyDate->setFocus();
    w->dtt_ModifyDate->setSelectedSection(QDateTimeEdit::YearSection);
    QTest::keyClicks(w->dtt_ModifyDate, QStringLiteral("2006"));
    w->dtt_ModifyDate->setSelectedSection(QDateTimeEdit::MonthSection);
    QTest::keyClicks(w->dtt_ModifyDate, QStringLiteral("05"));
    w->dtt_ModifyDate->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClicks(w->dtt_ModifyDate, QStringLiteral("04"));
    w->dtt_ModifyTime->setFocus();
    w->dtt_ModifyTime->setSelectedSection(QDateTimeEdit::HourSection);
    QTest::keyClicks(w->dtt_ModifyTime, QStringLiteral("09"));
    w->dtt_ModifyTime->setSelectedSection(QDateTimeEdit::MinuteSection);
    QTest::keyClicks(w->dtt_ModifyTime, QStringLiteral("05"));
    w->btn_ChangeDateTest->setFocus();
    EXPECT_EQ(w->dtt_ModifyDate->dateTime(), QDateTime(QDate(2006, 5, 4), QTime(9, 5, 0)));
}

TEST(MainWindowDesktop, TheTitleNamesTheProgramOnce)
{
    nameApplication();
    // A display name set by the program makes the desktop append " — Quorvane" to every title that
    // does not end with it; without one, the display name follows the application's name.
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("probe"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));
    QCoreApplication::setApplicationName(name);

    TempFolder folder;
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Quorvane    【") + QString::fromStdString(folder.path()) +
                                    QStringLiteral("】"));
}

TEST(MainWindowDesktop, ASizeSavedOnALargerScreenIsBroughtBackOntoThePrimaryScreen)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    for (const char* saved : {"Width=5000\nHeight=4000\n", "Width=300\nHeight=3000\n"}) {
        TestWindow w(nullptr, std::string("[WindowState]\n") + saved, true);
        EXPECT_TRUE(available.contains(w->frameGeometry())) << saved;
    }
    TestWindow fitting(nullptr, "[WindowState]\nWidth=740\nHeight=500\n", true);
    EXPECT_EQ(fitting->size(), QSize(740, 500)) << "a size that fits is kept";
    EXPECT_TRUE(available.contains(fitting->frameGeometry()));
}

// --- Failures asked once ------------------------------------------------------------------------

struct FailureRunCase
{
    const char* says;
    std::vector<std::string> files;
    bool sameForLaterErrors;
    std::size_t failureQuestions;
    bool warningIcon;
};

const FailureRunCase failureRuns[] = {
    {"with the box checked the first answer stands for the run",
     {"a.bmp", "a.doc", "a.log", "a.txt"},
     true,
     1,
     true},
    {"with the box unchecked every failure asks", {"a.bmp", "a.doc", "a.log", "a.txt"}, false, 3, true},
    {"a run without failures ends with the information icon", {"a.bmp", "b.doc"}, false, 0, false},
};

class FailureRun : public ::testing::TestWithParam<FailureRunCase>
{};

TEST_P(FailureRun, AsksAsOftenAsTheCheckBoxSays)
{
    const FailureRunCase& c = GetParam();
    TempFolder folder;
    for (const std::string& name : c.files) {
        folder.writeFile(name);
    }
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    w->edt_Ext->setText(QStringLiteral("dat"));
    w.boxes.answers = {core::Answer::Yes, core::Answer::No, core::Answer::No, core::Answer::No};
    w.boxes.sameForLaterErrors = {c.sameForLaterErrors};
    w->btn_ChangeExtRun->click();
    EXPECT_EQ(w.boxes.questions.size(), 1 + c.failureQuestions);
    EXPECT_EQ(w.boxes.completionsListingFailures, std::vector<bool>{c.warningIcon});
}

INSTANTIATE_TEST_SUITE_P(MainWindowDesktop, FailureRun, ::testing::ValuesIn(failureRuns),
                         testing::SaysName());

// Answers the next modal box from the event loop, after check has looked at it.
void answerNextBox(const std::function<void(QMessageBox&)>& check, const QString& button)
{
    QTimer::singleShot(0, [check, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        check(*box);
        for (QAbstractButton* candidate : box->buttons()) {
            if (candidate->text() == button) {
                candidate->click();
            }
        }
    });
}

TEST(MainWindowDesktop, TheRealFailureQuestionHasTheCheckBoxUncheckedAndCompletionsTheirIcons)
{
    QtMessageBoxes boxes;
    answerNextBox(
        [](QMessageBox& box) {
            ASSERT_NE(box.checkBox(), nullptr);
            EXPECT_EQ(box.checkBox()->text(), QStringLiteral("以降のエラーにも同じ答えを使う"));
            EXPECT_FALSE(box.checkBox()->isChecked());
            EXPECT_EQ(box.icon(), QMessageBox::Critical);
            box.checkBox()->setChecked(true);
        },
        QStringLiteral("いいえ(&N)"));
    bool sameForLaterErrors = false;
    EXPECT_EQ(boxes.askAboutFailure(QStringLiteral("failed"), sameForLaterErrors), core::Answer::No);
    EXPECT_TRUE(sameForLaterErrors);

    answerNextBox([](QMessageBox& box) { EXPECT_EQ(box.checkBox(), nullptr); }, QStringLiteral("はい(&Y)"));
    EXPECT_EQ(boxes.ask(MessageBoxes::Kind::Error, QStringLiteral("question")), core::Answer::Yes);

    for (const bool failures : {true, false}) {
        answerNextBox(
            [failures](QMessageBox& box) {
                EXPECT_EQ(box.icon(), failures ? QMessageBox::Warning : QMessageBox::Information);
            },
            QStringLiteral("OK"));
        boxes.reportCompletion(QStringLiteral("done"), failures);
    }
}

// --- Timestamps, room for the lists, inputs ---------------------------------------------------------

TEST(MainWindowDesktop, AnUncheckedTimeSwitchesItsPickersOffAndKeepsTheFilesOwnTimeInThePreview)
{
    TempFolder folder;
    folder.writeFile("a.txt");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    EXPECT_TRUE(w->chk_ModifyTime->isChecked());
    EXPECT_TRUE(w->chk_AccessTime->isChecked());
    w->chk_ModifyTime->setChecked(false);
    EXPECT_FALSE(w->dtt_ModifyDate->isEnabled());
    EXPECT_FALSE(w->dtt_ModifyTime->isEnabled());
    EXPECT_TRUE(w->dtt_AccessDate->isEnabled());
    w->btn_ChangeDateTest->click();
    EXPECT_EQ(w->after.cell(core::ModifiedColumn, 1), w->before.cell(core::ModifiedColumn, 1));
    EXPECT_EQ(w->after.cell(core::AccessedColumn, 1),
              w->dtt_AccessDate->dateTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")).toStdString());
}

double firstShare(const Tfom_Main& window)
{
    const QList<int> sizes = window.spl_002->sizes();
    return static_cast<double>(sizes[0]) / (sizes[0] + sizes[1]);
}

TEST(MainWindowDesktop, BothListsGrowWithTheWindowKeepingTheShareTheUserGaveThem)
{
    TestWindow w(nullptr, "[WindowState]\nWidth=700\nHeight=500\n", true);
    w->show();
    const int beforeWidth = w->grd_FileList1->width();
    const double share = firstShare(*w.window);
    w->resize(790, 590);
    QApplication::processEvents();
    EXPECT_GT(w->grd_FileList1->width(), beforeWidth);
    EXPECT_NEAR(firstShare(*w.window), share, 0.01);

    const int room = w->spl_002->sizes()[0] + w->spl_002->sizes()[1];
    w->spl_002->setSizes({room / 4, room - room / 4}); // as a drag of the splitter does
    w->resize(700, 500);
    QApplication::processEvents();
    EXPECT_NEAR(firstShare(*w.window), 0.25, 0.01);
}

TEST(MainWindowDesktop, TheLastInputsComeBackAtTheNextStart)
{
    TestWindow first;
    first->cbo_FileName1->setEditText(QStringLiteral("元ファイル名"));
    first->cbo_FileName2->setEditText(QStringLiteral("_(アンダーライン)"));
    first->num_FileNameNo->setValue(70000);
    first->num_NumberCnt->setValue(30000);
    first->edt_SearchName->setText(QStringLiteral(" IMG "));
    first->edt_ReplaceName->setText(QStringLiteral("写真"));
    first->chk_UpLow->setChecked(true);
    first->chk_ChangeExt->setChecked(true);
    first->grp_OptionsItems->button(2)->setChecked(true);
    first->edt_Ext->setText(QStringLiteral("jpeg"));
    first->chk_AccessTime->setChecked(false);
    first->chk_DateTaken->setChecked(true);
    first->grp_JpegOptionsItems->button(1)->setChecked(true);
    first->trk_Compression->setValue(75);
    first->chk_GrayScale->setChecked(true);
    first->chk_Progressive->setChecked(true);
    first->close();

    TestWindow second(nullptr, first.settingsFolder.readFile("quorvn.ini"), true);
    EXPECT_EQ(second->cbo_FileName1->currentText(), QStringLiteral("元ファイル名"));
    EXPECT_EQ(second->cbo_FileName2->currentText(), QStringLiteral("_(アンダーライン)"));
    EXPECT_EQ(second->cbo_FileName3->currentText(), QStringLiteral("連番"));
    EXPECT_EQ(second->num_FileNameNo->value(), 70000);
    EXPECT_EQ(second->num_NumberCnt->text(), QStringLiteral("3"));
    EXPECT_EQ(second->edt_SearchName->text(), QStringLiteral(" IMG "));
    EXPECT_EQ(second->edt_ReplaceName->text(), QStringLiteral("写真"));
    EXPECT_TRUE(second->chk_UpLow->isChecked());
    EXPECT_TRUE(second->chk_ChangeExt->isChecked());
    EXPECT_EQ(second->grp_OptionsItems->checkedId(), 2);
    EXPECT_EQ(second->grp_Options->statusTip(), QStringLiteral("ex) abC.txt -> ABC.txt"));
    EXPECT_EQ(second->edt_Ext->text(), QStringLiteral("jpeg"));
    EXPECT_TRUE(second->chk_ModifyTime->isChecked());
    EXPECT_FALSE(second->chk_AccessTime->isChecked());
    EXPECT_TRUE(second->chk_DateTaken->isChecked());
    EXPECT_EQ(second->grp_JpegOptionsItems->checkedId(), 1);
    EXPECT_EQ(second->trk_Compression->value(), 75);
    EXPECT_EQ(second->lbl_CompPer->text(), QStringLiteral("75%"));
    EXPECT_TRUE(second->chk_GrayScale->isChecked());
    EXPECT_TRUE(second->chk_Progressive->isChecked());
}

} // namespace
} // namespace quorvane::ui
