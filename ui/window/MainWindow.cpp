#include "MainWindow.h"

#include "ToolbarIcons.h"
#include "WidgetNames.h"
#include "platform/posix/PosixFileSystem.h"
#include "ui/preview/PreviewPane.h"
#include "ui/widgets/FocusOutline.h"
#include "ui/widgets/ProportionalSplitter.h"
#include "ui/widgets/ReadableColours.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimeEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace quorvane::ui {

namespace {

constexpr int splitterWidth = 3;
constexpr int lowerAreaHeight = 170;
constexpr int previewWidth = 170;
// Wide enough for "衝突: 99999 件".
constexpr int conflictsPanelWidth = 110;
constexpr int tabCount = 7;

} // namespace

Tfom_Main::Tfom_Main(MessageBoxes& boxes, std::string settingsPath, platform::FileSystem* fileSystem,
                     QWidget* parent)
    : QMainWindow(parent), boxes_(boxes), settingsPath_(std::move(settingsPath)),
      ownFileSystem_(fileSystem == nullptr ? std::make_unique<platform::PosixFileSystem>() : nullptr),
      fileSystem_(fileSystem == nullptr ? *ownFileSystem_ : *fileSystem),
      datesTaken_(std::make_unique<core::DatesTaken>(core::makeDateTakenReader(fileSystem_)))
{
    setObjectName(QStringLiteral("fom_Main"));
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(12);
    setFont(font);
    setWindowIcon(toolbarIcon(ToolbarIcon::Program));
    // The style draws group titles in bold; measured in the same bold they are never cut short.
    setStyleSheet(QStringLiteral("QGroupBox { font-weight: bold; }"));

    buildToolbar();
    buildUpperArea();
    auto* central = named(new QWidget(this), "pnl_Main");
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(spl_001, 1);
    column->addWidget(buildLowerArea());
    setCentralWidget(central);

    sta_StatusBar = named(new QStatusBar(this), "sta_StatusBar");
    sta_StatusBar->setSizeGripEnabled(false);
    const int panelWidths[3] = {80, 1, previewWidth};
    for (int panel = 0; panel < 3; ++panel) {
        QLabel* label = new QLabel(sta_StatusBar);
        label->setObjectName(QStringLiteral("sta_StatusBar_Panel%1").arg(panel));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(panelWidths[panel]);
        if (panel != 1) {
            label->setFixedWidth(panelWidths[panel]);
        }
        sta_StatusBar->addWidget(label, panel == 1 ? 1 : 0);
        statusPanels_[panel] = label;
    }
    sta_Conflicts = named(new QLabel(sta_StatusBar), "sta_Conflicts");
    sta_Conflicts->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    sta_Conflicts->setFixedWidth(conflictsPanelWidth);
    sta_Conflicts->hide();
    sta_StatusBar->insertWidget(1, sta_Conflicts);
    setStatusBar(sta_StatusBar);
    sta_StatusBar->installEventFilter(this);
    preview = new PreviewPane(
        {pnl_Preview, sta_StatusBar, statusPanels_[2], chk_Set_AutoPlay, &PreviewOn}, fileSystem_,
        [this](const QString& text) { boxes_.reportError(text); }, this);

    dirChangeDelay_.setSingleShot(true);
    dirChangeDelay_.setInterval(50);
    connectHandlers();
    buildShortcuts();
    retranslateUi();
    FormCreate();
}

Tfom_Main::~Tfom_Main()
{
    // The grids show the tables, which are members and die before the window's children would.
    destroying_ = true;
    dirChangeDelay_.stop();
    delete fileLists;
    fileLists = nullptr;
    delete takeCentralWidget();
}

void Tfom_Main::buildToolbar()
{
    tol_ToolBar = named(new QToolBar(this), "tol_ToolBar");
    tol_ToolBar->setMovable(false);
    tol_ToolBar->setFloatable(false);
    tol_ToolBar->setFixedHeight(34);
    tol_ToolBar->setIconSize(QSize(22, 22));
    tol_ToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    tol_ToolBar->setStyleSheet(
        QStringLiteral("QToolBar#tol_ToolBar { border: 0px; border-bottom: 1px solid palette(mid); }"));
    addToolBar(Qt::TopToolBarArea, tol_ToolBar);

    const auto button = [this](const char* name, ToolbarIcon icon) {
        QToolButton* b = named(new QToolButton(tol_ToolBar), name);
        b->setIcon(toolbarIcon(icon));
        b->setFixedSize(29, 28);
        b->setAutoRaise(true);
        tol_ToolBar->addWidget(b);
        return b;
    };
    btn_Quit = button("btn_Quit", ToolbarIcon::Quit);
    tol_ToolBar->addSeparator();
    btn_Return = button("btn_Return", ToolbarIcon::Undo);
    btn_History = button("btn_History", ToolbarIcon::History);
    tol_ToolBar->addSeparator();
    btn_UpLine = button("btn_UpLine", ToolbarIcon::MoveUp);
    btn_DownLine = button("btn_DownLine", ToolbarIcon::MoveDown);
    btn_SortByDateTaken = button("btn_SortByDateTaken", ToolbarIcon::SortByDateTaken);
    tol_ToolBar->addSeparator();
    btn_SortUpToDown = button("btn_SortUpToDown", ToolbarIcon::SideBySide);
    btn_SortRightToLeft = button("btn_SortRightToLeft", ToolbarIcon::Stacked);
    tol_ToolBar->addSeparator();
    btn_Preview = button("btn_Preview", ToolbarIcon::Preview);
    btn_Preview->setCheckable(true);
    tol_ToolBar->addSeparator();

    cbo_FileType = named(new QComboBox(tol_ToolBar), "cbo_FileType");
    cbo_FileType->setEditable(true);
    cbo_FileType->setFixedWidth(144);
    cbo_FileType->setMaxVisibleItems(20);
    cbo_FileType->setInsertPolicy(QComboBox::NoInsert);
    // The combo sits 4 pixels from the toolbar's top edge.
    auto* comboHolder = named(new QWidget(tol_ToolBar), "pnl_FileType");
    auto* comboLayout = new QVBoxLayout(comboHolder);
    comboLayout->setContentsMargins(2, 4, 2, 0);
    comboLayout->addWidget(cbo_FileType);
    comboLayout->addStretch(1);
    tol_ToolBar->addWidget(comboHolder);

    btn_Filter = named(new QPushButton(tol_ToolBar), "btn_Filter");
    tol_ToolBar->addWidget(btn_Filter);
}

void Tfom_Main::buildUpperArea()
{
    spl_001 = named(new QSplitter(Qt::Horizontal, this), "spl_001");
    spl_001->setHandleWidth(splitterWidth);
    spl_001->setChildrenCollapsible(false);

    trr_DirList = named(new QTreeView(spl_001), "trr_DirList");
    dirModel = new QFileSystemModel(this);
    dirModel->setObjectName(QStringLiteral("trr_DirListModel"));
    // Hidden folders follow "隠しファイルは非表示", which starts checked.
    dirModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    dirModel->setRootPath(QStringLiteral("/"));
    // The model drops and reads again the entries of a folder that changes on disk, and the tree
    // then moves its current folder to a neighbour. The chosen folder is chosen again, so the lists
    // never switch to another folder by themselves; a chosen folder that is gone empties them
    // instead. Connected before the tree's own handlers, so the current folder is still the chosen
    // one here.
    connect(dirModel, &QFileSystemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex& parent, int first, int last) {
                for (QModelIndex index = trr_DirList->currentIndex(); index.isValid();
                     index = index.parent()) {
                    if (index.parent() == parent && index.row() >= first && index.row() <= last) {
                        folderToKeep_ = dirModel->filePath(trr_DirList->currentIndex());
                        return;
                    }
                }
            });
    connect(dirModel, &QFileSystemModel::rowsRemoved, this, [this] {
        const QString folder = std::exchange(folderToKeep_, QString());
        if (folder.isEmpty()) {
            return;
        }
        if (QFileInfo(folder).isDir()) {
            QTimer::singleShot(0, this, [this, folder] { selectFolder(folder); });
        } else {
            QTimer::singleShot(0, this,
                               [this, folder] { guarded([this, folder] { listedFolderVanished(folder); }); });
        }
    });
    trr_DirList->setModel(dirModel);
    for (int column = 1; column < dirModel->columnCount(); ++column) {
        trr_DirList->hideColumn(column);
    }
    trr_DirList->setHeaderHidden(true);
    trr_DirList->setItemDelegate(new FocusOutlineDelegate(trr_DirList));
    keepReadable(*trr_DirList, {{QPalette::Highlight, QPalette::HighlightedText, {}}});
    trr_DirList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    trr_DirList->viewport()->installEventFilter(this);
    // The model reads folders in the background: a folder chosen before its parents were read is
    // scrolled into view once they are.
    const auto reveal = [this] {
        if (revealPending_ && trr_DirList->currentIndex().isValid()) {
            QTimer::singleShot(0, trr_DirList,
                               [this] { trr_DirList->scrollTo(trr_DirList->currentIndex()); });
        }
    };
    connect(dirModel, &QFileSystemModel::directoryLoaded, this, reveal);
    connect(dirModel, &QFileSystemModel::rowsInserted, this, reveal);
    connect(dirModel, &QFileSystemModel::layoutChanged, this, reveal);
    connect(trr_DirList->verticalScrollBar(), &QScrollBar::sliderPressed, this,
            [this] { revealPending_ = false; });

    pnl_Files = named(new QWidget(spl_001), "pnl_Files");
    auto* filesLayout = new QVBoxLayout(pnl_Files);
    filesLayout->setContentsMargins(0, 0, 0, 0);
    spl_002 = named(new ProportionalSplitter(Qt::Horizontal, pnl_Files), "spl_002");
    spl_002->setHandleWidth(splitterWidth);
    spl_002->setChildrenCollapsible(false);
    filesLayout->addWidget(spl_002);

    grd_FileList1 = named(new FileGrid(before, true, spl_002), "grd_FileList1");
    grd_FileList2 = named(new FileGrid(after, false, spl_002), "grd_FileList2");
    for (FileGrid* grid : {grd_FileList1, grd_FileList2}) {
        grid->setMinimumSize(20, 20);
    }
    spl_002->addWidget(grd_FileList1);
    spl_002->addWidget(grd_FileList2);
    // Both lists gain and lose room with the window, each keeping its share.
    fileLists = new FileListPair(
        *grd_FileList1, *grd_FileList2, collator_, [this] { guarded([this] { prc_ShowPreview(); }); }, this);

    spl_001->addWidget(trr_DirList);
    spl_001->addWidget(pnl_Files);
    spl_001->setStretchFactor(0, 0);
    spl_001->setStretchFactor(1, 1);
}

QWidget* Tfom_Main::buildLowerArea()
{
    pnl_Space = named(new QWidget(this), "pnl_Space");
    pnl_Space->setFixedHeight(lowerAreaHeight);
    auto* row = new QHBoxLayout(pnl_Space);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    pag_EditMenu = named(new QTabWidget(pnl_Space), "pag_EditMenu");
    pag_EditMenu->installEventFilter(this);
    buildSerialTab();
    buildReplaceTab();
    buildExtensionTab();
    buildDateTab();
    buildAttributeTab();
    buildImageTab();
    buildSettingTab();
    pag_EditMenu->setCurrentIndex(0);
    row->addWidget(pag_EditMenu, 1);

    pnl_Preview = named(new QFrame(pnl_Space), "pnl_Preview");
    static_cast<QFrame*>(pnl_Preview)->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    static_cast<QFrame*>(pnl_Preview)->setLineWidth(2);
    pnl_Preview->setFixedWidth(0);
    row->addWidget(pnl_Preview);
    return pnl_Space;
}

void Tfom_Main::FormCreate()
{
    resize(830, 600);
    settleLayout();
    setBeforeListWidth(pnl_Files->width() / 2 - 1);
    // The header rows are written by the tables themselves (retranslateUi); the grids show them.
    reloadLists();
    selectPiece(cbo_FileName3, core::PieceKind::Serial);
    openJournal();
    openStartFolder();
    LoadSettings();

    const QDateTime now = QDateTime::currentDateTime();
    for (QDateTimeEdit* date : {dtt_CreateDate, dtt_ModifyDate, dtt_AccessDate}) {
        date->setDateTime(QDateTime(now.date(), QTime(0, 0, 0)));
    }
    for (QTimeEdit* time : {dtt_CreateTime, dtt_ModifyTime, dtt_AccessTime}) {
        time->setTime(QTime::fromString(QStringLiteral("00:00:00"), QStringLiteral("HH:mm:ss")));
    }
    // Hints reach status panel 1 through the window's status-tip events (event()); the two numeric
    // fields accept typed digits only (eventFilter()).
    num_FileNameNo->installEventFilter(this);
    num_NumberCnt->installEventFilter(this);
    setWindowTitle(QStringLiteral("Quorvane"));
    trk_CompressionChange();
    btn_Return->setEnabled(false);
    fitOntoPrimaryScreen();
}

void Tfom_Main::fitOntoPrimaryScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    const QSize fitting = size().boundedTo(available.size());
    if (fitting != size()) {
        resize(fitting);
        settleLayout();
    }
    move(available.center() - rect().center());
}

void Tfom_Main::buildShortcuts()
{
    const auto shortcut = [this](QKeySequence keys, const char* name, const std::function<void()>& handler) {
        auto* key = new QShortcut(keys, this);
        key->setObjectName(QString::fromLatin1(name));
        connect(key, &QShortcut::activated, this, [this, handler] { guarded(handler); });
    };
    // A disabled button ignores its click, so Ctrl+Z undoes only while undo is offered.
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), "key_Undo", [this] { btn_Return->click(); });
    shortcut(QKeySequence(Qt::Key_F5), "key_Relist", [this] { prc_DirListChange(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), "key_Quit", [this] { btn_QuitClick(); });
}

void Tfom_Main::openStartFolder()
{
    QString start = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (start.isEmpty() || !QDir(start).exists()) {
        start = QDir::homePath();
    }
    selectFolder(start);
    trr_DirList->expand(trr_DirList->currentIndex());
}

QString Tfom_Main::selectedFolder() const
{
    const QModelIndex current = trr_DirList->currentIndex();
    return current.isValid() ? dirModel->filePath(current) : QString();
}

void Tfom_Main::selectFolder(const QString& path)
{
    const QModelIndex index = dirModel->index(path);
    if (!index.isValid()) {
        return;
    }
    trr_DirList->setCurrentIndex(index);
    trr_DirList->scrollTo(index);
    revealPending_ = true;
}

QString Tfom_Main::statusText(int panel) const
{
    return statusPanels_[panel]->text();
}

bool Tfom_Main::stacked() const
{
    return spl_002->orientation() == Qt::Vertical;
}

void Tfom_Main::settleLayout()
{
    // Hidden widgets keep their resize events until they are shown; sending them now runs every
    // layout and splitter with the sizes the window has.
    const std::function<void(QWidget*)> settle = [&settle](QWidget* widget) {
        if (QLayout* layout = widget->layout()) {
            layout->activate();
        }
        for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isWindow()) {
                continue;
            }
            QResizeEvent resized(child->size(), child->size());
            QApplication::sendEvent(child, &resized);
            settle(child);
        }
    };
    if (QLayout* top = layout()) {
        top->activate();
        top->setGeometry(rect());
    }
    settle(this);
}

void Tfom_Main::setBeforeListWidth(int width)
{
    if (stacked()) {
        return;
    }
    // A size beyond the panel would lay the list out past the window's edge, and be written back.
    const int total = std::max(0, spl_002->width() - spl_002->handleWidth());
    width = std::clamp(width, 0, total);
    spl_002->setSizes({width, total - width});
}

void Tfom_Main::setBeforeListHeight(int height)
{
    if (!stacked()) {
        return;
    }
    const int total = std::max(0, spl_002->height() - spl_002->handleWidth());
    height = std::clamp(height, 0, total);
    spl_002->setSizes({height, total - height});
}

} // namespace quorvane::ui
