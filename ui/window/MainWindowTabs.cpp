// The tabs of the operation panel: their controls, captions, hints and arrangement.

#include "MainWindow.h"
#include "ToolbarIcons.h"
#include "Translations.h"
#include "WidgetNames.h"
#include "core/rules/ReplaceRule.h"
#include "core/rules/SerialNaming.h"
#include "core/text/Language.h"
#include "ui/widgets/ReadableColours.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace quorvane::ui {

namespace {

QLabel* makeLabel(QWidget* parent, const char* name)
{
    return named(new QLabel(parent), name);
}

QPushButton* makeButton(QWidget* parent, const char* name)
{
    QPushButton* button = named(new QPushButton(parent), name);
    button->setMinimumWidth(110);
    return button;
}

// The column of a tab's preview and run buttons, at its right edge.
QVBoxLayout* buttonColumn(QPushButton* preview, QPushButton* run)
{
    auto* column = new QVBoxLayout;
    column->addStretch(1);
    if (preview != nullptr) {
        column->addWidget(preview);
    }
    column->addWidget(run);
    return column;
}

// A selector of the serial tab: its items carry their piece; their words follow the language.
QComboBox* pieceSelector(QWidget* parent, const char* name)
{
    QComboBox* selector = named(new QComboBox(parent), name);
    selector->setEditable(true);
    for (const core::PieceItem& item : core::pieceItems) {
        selector->addItem(QString(), static_cast<int>(item.kind));
    }
    selector->setCurrentIndex(-1);
    selector->setEditText(QString());
    selector->setMinimumWidth(220);
    return selector;
}

} // namespace

void Tfom_Main::buildSerialTab()
{
    tab_FileName = named(new QWidget, "tab_FileName");
    auto* row = new QHBoxLayout(tab_FileName);

    grp_FileName = named(new QGroupBox(tab_FileName), "grp_FileName");
    auto* names = new QGridLayout(grp_FileName);
    lbl_FileName1 = makeLabel(grp_FileName, "lbl_FileName1");
    lbl_FileName2 = makeLabel(grp_FileName, "lbl_FileName2");
    lbl_FileName3 = makeLabel(grp_FileName, "lbl_FileName3");
    cbo_FileName1 = pieceSelector(grp_FileName, "cbo_FileName1");
    cbo_FileName2 = pieceSelector(grp_FileName, "cbo_FileName2");
    cbo_FileName3 = pieceSelector(grp_FileName, "cbo_FileName3");
    names->addWidget(lbl_FileName1, 0, 0);
    names->addWidget(cbo_FileName1, 0, 1);
    names->addWidget(lbl_FileName2, 1, 0);
    names->addWidget(cbo_FileName2, 1, 1);
    names->addWidget(lbl_FileName3, 2, 0);
    names->addWidget(cbo_FileName3, 2, 1);
    row->addWidget(grp_FileName);

    grp_Number = named(new QGroupBox(tab_FileName), "grp_Number");
    grp_Number->setMinimumWidth(170);
    auto* numbers = new QGridLayout(grp_Number);
    lbl_FileNameNo = makeLabel(grp_Number, "lbl_FileNameNo");
    lbl_NumberCnt = makeLabel(grp_Number, "lbl_NumberCnt");
    num_FileNameNo = named(new TNumEdit(grp_Number), "num_FileNameNo");
    num_FileNameNo->setMaxLength(5);
    num_FileNameNo->setFixedWidth(60);
    num_NumberCnt = named(new TNumEdit(grp_Number), "num_NumberCnt");
    num_NumberCnt->setMaxLength(2);
    num_NumberCnt->setFixedWidth(44);
    num_NumberCnt->setValue(10000);

    btn_UpDownNo = named(new QWidget(grp_Number), "btn_UpDownNo");
    btn_UpDownNo->setProperty("Position", 1);
    auto* arrows = new QVBoxLayout(btn_UpDownNo);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    for (const bool up : {true, false}) {
        auto* arrow = new QToolButton(btn_UpDownNo);
        arrow->setObjectName(up ? QStringLiteral("btn_UpDownNo_Up") : QStringLiteral("btn_UpDownNo_Down"));
        arrow->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
        arrow->setFixedSize(16, 11);
        arrow->setAutoRepeat(true);
        arrows->addWidget(arrow);
    }
    auto* countRow = new QHBoxLayout;
    countRow->setSpacing(0);
    countRow->addWidget(num_NumberCnt);
    countRow->addWidget(btn_UpDownNo);
    countRow->addStretch(1);
    numbers->addWidget(lbl_FileNameNo, 0, 0);
    numbers->addWidget(num_FileNameNo, 0, 1);
    numbers->addWidget(lbl_NumberCnt, 1, 0);
    numbers->addLayout(countRow, 1, 1);
    numbers->setRowStretch(2, 1);
    row->addWidget(grp_Number);
    row->addStretch(1);

    btn_AllChangeNameTest = makeButton(tab_FileName, "btn_AllChangeNameTest");
    btn_AllChangeNameRun = makeButton(tab_FileName, "btn_AllChangeNameRun");
    row->addLayout(buttonColumn(btn_AllChangeNameTest, btn_AllChangeNameRun));
    pag_EditMenu->addTab(tab_FileName, QString());
}

void Tfom_Main::buildReplaceTab()
{
    tab_FileName2 = named(new QWidget, "tab_FileName2");
    auto* row = new QHBoxLayout(tab_FileName2);

    grp_SearchReplace = named(new QGroupBox(tab_FileName2), "grp_SearchReplace");
    auto* fields = new QGridLayout(grp_SearchReplace);
    lbl_SearchName = makeLabel(grp_SearchReplace, "lbl_SearchName");
    lbl_ReplaceName = makeLabel(grp_SearchReplace, "lbl_ReplaceName");
    edt_SearchName = named(new QLineEdit(grp_SearchReplace), "edt_SearchName");
    edt_ReplaceName = named(new QLineEdit(grp_SearchReplace), "edt_ReplaceName");
    edt_SearchName->setMinimumWidth(180);
    chk_UpLow = named(new QCheckBox(grp_SearchReplace), "chk_UpLow");
    chk_ChangeExt = named(new QCheckBox(grp_SearchReplace), "chk_ChangeExt");
    fields->addWidget(lbl_SearchName, 0, 0);
    fields->addWidget(edt_SearchName, 0, 1);
    fields->addWidget(lbl_ReplaceName, 1, 0);
    fields->addWidget(edt_ReplaceName, 1, 1);
    fields->addWidget(chk_UpLow, 2, 0, 1, 2);
    fields->addWidget(chk_ChangeExt, 3, 0, 1, 2);
    row->addWidget(grp_SearchReplace);

    grp_Options = named(new QGroupBox(tab_FileName2), "grp_Options");
    replaceOptionHint_ = core::initialReplaceOptionHint();
    grp_OptionsItems = new QButtonGroup(grp_Options);
    grp_OptionsItems->setObjectName(QStringLiteral("grp_OptionsItems"));
    auto* options = new QGridLayout(grp_Options);
    options->setVerticalSpacing(0);
    for (int index = 0; index < 8; ++index) {
        auto* item = new QRadioButton(grp_Options);
        item->setObjectName(QStringLiteral("grp_Options_%1").arg(index));
        grp_OptionsItems->addButton(item, index);
        options->addWidget(item, index % 4, index / 4);
    }
    grp_OptionsItems->button(0)->setChecked(true);
    row->addWidget(grp_Options);
    row->addStretch(1);

    btn_ReplaceNameTest = makeButton(tab_FileName2, "btn_ReplaceNameTest");
    btn_ReplaceNameRun = makeButton(tab_FileName2, "btn_ReplaceNameRun");
    row->addLayout(buttonColumn(btn_ReplaceNameTest, btn_ReplaceNameRun));
    pag_EditMenu->addTab(tab_FileName2, QString());
}

void Tfom_Main::buildExtensionTab()
{
    tab_FileNameExt = named(new QWidget, "tab_FileNameExt");
    auto* row = new QHBoxLayout(tab_FileNameExt);
    grp_Ext = named(new QGroupBox(tab_FileNameExt), "grp_Ext");
    auto* fields = new QHBoxLayout(grp_Ext);
    lbl_Ext = makeLabel(grp_Ext, "lbl_Ext");
    lbl_ExtPeriod = makeLabel(grp_Ext, "lbl_ExtPeriod");
    edt_Ext = named(new QLineEdit(grp_Ext), "edt_Ext");
    edt_Ext->setFixedWidth(100);
    fields->addWidget(lbl_Ext);
    fields->addWidget(lbl_ExtPeriod);
    fields->addWidget(edt_Ext);
    auto* column = new QVBoxLayout;
    column->addWidget(grp_Ext);
    column->addStretch(1);
    row->addLayout(column);
    row->addStretch(1);
    btn_ChangeExtTest = makeButton(tab_FileNameExt, "btn_ChangeExtTest");
    btn_ChangeExtRun = makeButton(tab_FileNameExt, "btn_ChangeExtRun");
    row->addLayout(buttonColumn(btn_ChangeExtTest, btn_ChangeExtRun));
    pag_EditMenu->addTab(tab_FileNameExt, QString());
}

void Tfom_Main::buildDateTab()
{
    tab_FileNameDate = named(new QWidget, "tab_FileNameDate");
    auto* row = new QHBoxLayout(tab_FileNameDate);
    grp_FileDate = named(new QGroupBox(tab_FileNameDate), "grp_FileDate");
    auto* grid = new QGridLayout(grp_FileDate);
    grid->setVerticalSpacing(2);
    // The pickers and their calendars speak the program's language (retranslateUi).
    const auto pair = [this, grid](int line, QLabel*& label, const char* labelName, QDateTimeEdit*& date,
                                   const char* dateName, QTimeEdit*& time, const char* timeName) {
        label = makeLabel(grp_FileDate, labelName);
        date = named(new QDateTimeEdit(grp_FileDate), dateName);
        date->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        date->setCalendarPopup(true);
        date->setTimeSpec(Qt::LocalTime);
        date->setMinimumWidth(120);
        time = named(new QTimeEdit(grp_FileDate), timeName);
        time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
        grid->addWidget(label, line, 0);
        grid->addWidget(date, line, 2);
        grid->addWidget(time, line, 3);
    };
    pair(0, lbl_CreateDate, "lbl_CreateDate", dtt_CreateDate, "dtt_CreateDate", dtt_CreateTime,
         "dtt_CreateTime");
    pair(1, lbl_ModifyDate, "lbl_ModifyDate", dtt_ModifyDate, "dtt_ModifyDate", dtt_ModifyTime,
         "dtt_ModifyTime");
    pair(2, lbl_AccessDate, "lbl_AccessDate", dtt_AccessDate, "dtt_AccessDate", dtt_AccessTime,
         "dtt_AccessTime");
    // A time whose box is unchecked is left as each file has it.
    const auto timeCheck = [this, grid](int line, const char* name) {
        auto* check = named(new QCheckBox(grp_FileDate), name);
        check->setChecked(true);
        grid->addWidget(check, line, 1);
        return check;
    };
    chk_ModifyTime = timeCheck(1, "chk_ModifyTime");
    chk_AccessTime = timeCheck(2, "chk_AccessTime");
    chk_DateTaken = named(new QCheckBox(grp_FileDate), "chk_DateTaken");
    grid->addWidget(chk_DateTaken, 1, 4, 2, 1);
    // Linux keeps a file's creation time to itself, so its pickers only say so (retranslateUi).
    dtt_CreateDate->setEnabled(false);
    dtt_CreateTime->setEnabled(false);
    row->addWidget(grp_FileDate);
    row->addStretch(1);
    btn_ChangeDateTest = makeButton(tab_FileNameDate, "btn_ChangeDateTest");
    btn_ChangeDateRun = makeButton(tab_FileNameDate, "btn_ChangeDateRun");
    row->addLayout(buttonColumn(btn_ChangeDateTest, btn_ChangeDateRun));
    pag_EditMenu->addTab(tab_FileNameDate, QString());
}

void Tfom_Main::buildAttributeTab()
{
    tab_FileNameAttr = named(new QWidget, "tab_FileNameAttr");
    auto* row = new QHBoxLayout(tab_FileNameAttr);
    grp_FileAttr = named(new QGroupBox(tab_FileNameAttr), "grp_FileAttr");
    auto* boxes = new QGridLayout(grp_FileAttr);
    chk_ReadOnly = named(new QCheckBox(grp_FileAttr), "chk_ReadOnly");
    chk_Hidden = named(new QCheckBox(grp_FileAttr), "chk_Hidden");
    chk_System = named(new QCheckBox(grp_FileAttr), "chk_System");
    chk_Archive = named(new QCheckBox(grp_FileAttr), "chk_Archive");
    boxes->addWidget(chk_ReadOnly, 0, 0);
    boxes->addWidget(chk_Hidden, 1, 0);
    boxes->addWidget(chk_System, 0, 1);
    boxes->addWidget(chk_Archive, 1, 1);
    row->addWidget(grp_FileAttr);

    grp_FileAttrOpt = named(new QGroupBox(tab_FileNameAttr), "grp_FileAttrOpt");
    grp_FileAttrOptItems = new QButtonGroup(grp_FileAttrOpt);
    grp_FileAttrOptItems->setObjectName(QStringLiteral("grp_FileAttrOptItems"));
    auto* modes = new QVBoxLayout(grp_FileAttrOpt);
    for (int index = 0; index < 3; ++index) {
        auto* item = new QRadioButton(grp_FileAttrOpt);
        item->setObjectName(QStringLiteral("grp_FileAttrOpt_%1").arg(index));
        grp_FileAttrOptItems->addButton(item, index);
        modes->addWidget(item);
    }
    grp_FileAttrOptItems->button(0)->setChecked(true);
    row->addWidget(grp_FileAttrOpt);
    row->addStretch(1);
    btn_ChangeAttrTest = makeButton(tab_FileNameAttr, "btn_ChangeAttrTest");
    btn_ChangeAttrRun = makeButton(tab_FileNameAttr, "btn_ChangeAttrRun");
    row->addLayout(buttonColumn(btn_ChangeAttrTest, btn_ChangeAttrRun));
    pag_EditMenu->addTab(tab_FileNameAttr, QString());
}

void Tfom_Main::buildImageTab()
{
    tab_Bmp2Jpeg = named(new QWidget, "tab_Bmp2Jpeg");
    auto* row = new QHBoxLayout(tab_Bmp2Jpeg);
    grp_JpegOptions = named(new QGroupBox(tab_Bmp2Jpeg), "grp_JpegOptions");
    grp_JpegOptionsItems = new QButtonGroup(grp_JpegOptions);
    grp_JpegOptionsItems->setObjectName(QStringLiteral("grp_JpegOptionsItems"));
    auto* modes = new QVBoxLayout(grp_JpegOptions);
    modes->setSpacing(0);
    for (int index = 0; index < 4; ++index) {
        auto* item = new QRadioButton(grp_JpegOptions);
        item->setObjectName(QStringLiteral("grp_JpegOptions_%1").arg(index));
        grp_JpegOptionsItems->addButton(item, index);
        modes->addWidget(item);
    }
    grp_JpegOptionsItems->button(0)->setChecked(true);
    row->addWidget(grp_JpegOptions);

    grp_ArchiveOpt = named(new QGroupBox(tab_Bmp2Jpeg), "grp_ArchiveOpt");
    auto* options = new QGridLayout(grp_ArchiveOpt);
    Label15 = makeLabel(grp_ArchiveOpt, "Label15");
    trk_Compression = named(new QSlider(Qt::Horizontal, grp_ArchiveOpt), "trk_Compression");
    trk_Compression->setRange(1, 100);
    trk_Compression->setTickInterval(10);
    trk_Compression->setTickPosition(QSlider::TicksAbove);
    trk_Compression->setValue(100);
    trk_Compression->setMinimumWidth(150);
    lbl_CompPer = makeLabel(grp_ArchiveOpt, "lbl_CompPer");
    lbl_CompPer->setMinimumWidth(36);
    chk_GrayScale = named(new QCheckBox(grp_ArchiveOpt), "chk_GrayScale");
    chk_Progressive = named(new QCheckBox(grp_ArchiveOpt), "chk_Progressive");
    options->addWidget(Label15, 0, 0);
    options->addWidget(trk_Compression, 0, 1);
    options->addWidget(lbl_CompPer, 0, 2);
    options->addWidget(chk_GrayScale, 1, 0, 1, 3);
    options->addWidget(chk_Progressive, 2, 0, 1, 3);
    row->addWidget(grp_ArchiveOpt);
    row->addStretch(1);
    btn_ChangeBMP2JPEG = makeButton(tab_Bmp2Jpeg, "btn_ChangeBMP2JPEG");
    row->addLayout(buttonColumn(nullptr, btn_ChangeBMP2JPEG));
    pag_EditMenu->addTab(tab_Bmp2Jpeg, QString());
}

void Tfom_Main::buildSettingTab()
{
    tab_Setting = named(new QWidget, "tab_Setting");
    auto* row = new QHBoxLayout(tab_Setting);
    auto* groups = new QHBoxLayout;
    grp_PreviewSetting = named(new QGroupBox(tab_Setting), "grp_PreviewSetting");
    auto* previewLayout = new QVBoxLayout(grp_PreviewSetting);
    chk_Set_AutoPlay = named(new QCheckBox(grp_PreviewSetting), "chk_Set_AutoPlay");
    previewLayout->addWidget(chk_Set_AutoPlay);
    previewLayout->addStretch(1);
    groups->addWidget(grp_PreviewSetting);
    grp_ViewSetting = named(new QGroupBox(tab_Setting), "grp_ViewSetting");
    auto* viewLayout = new QVBoxLayout(grp_ViewSetting);
    chk_Set_HideHideFile = named(new QCheckBox(grp_ViewSetting), "chk_Set_HideHideFile");
    chk_Set_HideSysFile = named(new QCheckBox(grp_ViewSetting), "chk_Set_HideSysFile");
    // On Linux a name starting with "." is a configuration file far more often than a document, so
    // hidden files are left out unless the settings say otherwise.
    chk_Set_HideHideFile->setChecked(true);
    viewLayout->addWidget(chk_Set_HideHideFile);
    viewLayout->addWidget(chk_Set_HideSysFile);
    chk_Set_NumericSort = named(new QCheckBox(grp_ViewSetting), "chk_Set_NumericSort");
    viewLayout->addWidget(chk_Set_NumericSort);
    viewLayout->addStretch(1);
    groups->addWidget(grp_ViewSetting);
    // The language selector names every language in itself, so that a user who cannot read the
    // language shown still finds their own.
    grp_Language = named(new QGroupBox(tab_Setting), "grp_Language");
    auto* languageLayout = new QVBoxLayout(grp_Language);
    cbo_Language = named(new QComboBox(grp_Language), "cbo_Language");
    cbo_Language->addItem(QString(),
                          QString::fromUtf8(core::automaticLanguage.data(),
                                            static_cast<qsizetype>(core::automaticLanguage.size())));
    std::vector<std::string> languages = translatedLanguages();
    languages.insert(languages.begin(), std::string(core::sourceLanguage));
    // English first after Japanese, the others in the order of their codes.
    std::stable_partition(languages.begin(), languages.end(), [](const std::string& code) {
        return code == core::sourceLanguage || code == "en";
    });
    for (const std::string& code : languages) {
        cbo_Language->addItem(languageName(code), QString::fromStdString(code));
    }
    languageLayout->addWidget(cbo_Language);
    languageLayout->addStretch(1);
    groups->addWidget(grp_Language);
    row->addLayout(groups);

    auto* about = named(new QFrame(tab_Setting), "pnl_About");
    about->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    about->setAutoFillBackground(true);
    keepReadable(*about, {{QPalette::Window, QPalette::WindowText, QColor(166, 202, 240)}});
    auto* aboutLayout = new QHBoxLayout(about);
    auto* icon = named(new QLabel(about), "img_Icon");
    icon->setPixmap(drawnIcon(ToolbarIcon::Program, 48));
    auto* texts = new QVBoxLayout;
    auto* product = makeLabel(about, "lbl_Product");
    product->setText(QStringLiteral("Quorvane"));
    QFont productFont = product->font();
    productFont.setPixelSize(20);
    productFont.setBold(true);
    product->setFont(productFont);
    texts->addStretch(1);
    texts->addWidget(product);
    lbl_Version = makeLabel(about, "lbl_Version");
    texts->addWidget(lbl_Version);
    texts->addStretch(1);
    aboutLayout->addWidget(icon);
    aboutLayout->addLayout(texts);
    aboutLayout->addStretch(1);
    row->addWidget(about, 1);
    pag_EditMenu->addTab(tab_Setting, QString());
}

} // namespace quorvane::ui
