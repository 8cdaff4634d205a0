// Every text of the main window in the language shown: captions, hints, items, the list headers, the
// title and the status texts, worded again whenever the language changes.

#include "HandlerSupport.h"
#include "MainWindow.h"
#include "Translations.h"
#include "core/listing/Listing.h"
#include "core/runs/RenameConflicts.h"
#include "ui/preview/PreviewPane.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimeEdit>
#include <QToolButton>
#include <QTreeView>

namespace quorvane::ui {

namespace {

void setHint(QWidget* widget, const QString& hint)
{
    widget->setStatusTip(hint);
    widget->setToolTip(hint);
}

} // namespace

QString Tfom_Main::jpegModeHint(int index)
{
    switch (index) {
    case 0:
        return tr("現在のBMPファイルをJPEGファイルに置換");
    case 1:
        return tr("現在のJPEGファイルをBMPファイルに置換");
    case 2:
        return tr("新規JPEGファイルを作成");
    case 3:
        return tr("新規BMPファイルを作成");
    default:
        return tr("現在のBMPをJPEGに置換");
    }
}

void Tfom_Main::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange && !destroying_) {
        retranslateUi();
    }
    QMainWindow::changeEvent(event);
}

void Tfom_Main::retranslateUi()
{
    // --- Toolbar and the upper area.
    setHint(btn_Quit, tr("終了"));
    setHint(btn_Return, tr("元に戻す"));
    setHint(btn_History, tr("履歴"));
    setHint(btn_UpLine, tr("選択範囲を上へ移動"));
    setHint(btn_DownLine, tr("選択範囲を下に移動"));
    setHint(btn_SortUpToDown, tr("縦方向に二分"));
    setHint(btn_SortRightToLeft, tr("横方向に二分"));
    setHint(btn_Preview, tr("イメージプレビュー"));
    setHint(btn_SortByDateTaken, tr("撮影日時順"));
    cbo_FileType->setStatusTip(tr("絞り込むファイル種類"));
    btn_Filter->setText(tr("絞り込み(&F)"));
    setHint(btn_Filter, tr("絞り込みの実行"));
    trr_DirList->setStatusTip(tr("対象となるフォルダの指定"));
    grd_FileList1->setStatusTip(tr("変更前ファイルリスト"));
    grd_FileList2->setStatusTip(tr("変更後ファイルリスト"));
    before.setRow(0, core::beforeListHeader());
    after.setRow(0, core::afterListHeader());
    reloadLists();

    // --- The tabs, in order.
    const QString tabTitles[] = {tr("連番"),     tr("置換"),     tr("拡張子"), tr("日付変更"),
                                 tr("属性変更"), tr("画像変換"), tr("設定")};
    for (int index = 0; index < pag_EditMenu->count(); ++index) {
        pag_EditMenu->setTabText(index, tabTitles[index]);
    }
    const QString previewCaption = tr("プレビュー(&P)");
    const QString runCaption = tr("  実  行  (&R)");
    const QString renamePreviewHint = tr("リネーム結果のプレビュー");
    for (QPushButton* preview : {btn_AllChangeNameTest, btn_ReplaceNameTest, btn_ChangeExtTest,
                                 btn_ChangeDateTest, btn_ChangeAttrTest}) {
        preview->setText(previewCaption);
    }
    for (QPushButton* run : {btn_AllChangeNameRun, btn_ReplaceNameRun, btn_ChangeExtRun, btn_ChangeDateRun,
                             btn_ChangeAttrRun, btn_ChangeBMP2JPEG}) {
        run->setText(runCaption);
    }

    // "連番"
    grp_FileName->setTitle(tr("【ファイル名】"));
    grp_FileName->setStatusTip(tr("【前方】+【中間】+【後方】.<元の拡張子>"));
    lbl_FileName1->setText(tr("ファイル名【前方】："));
    lbl_FileName2->setText(tr("ファイル名【中間】："));
    lbl_FileName3->setText(tr("ファイル名【後方】："));
    for (QComboBox* selector : {cbo_FileName1, cbo_FileName2, cbo_FileName3}) {
        // The words change under the piece shown, which stays what it was.
        const core::SerialPiece piece = selectedPiece(selector);
        for (int index = 0; index < selector->count(); ++index) {
            selector->setItemText(index,
                                  QCoreApplication::translate("SerialPieces", core::pieceItems[index].words));
        }
        selectPiece(selector, piece);
    }
    grp_Number->setTitle(tr("【連番】"));
    lbl_FileNameNo->setText(tr("連番開始番号："));
    lbl_NumberCnt->setText(tr("連番桁数："));
    btn_AllChangeNameTest->setStatusTip(renamePreviewHint);
    btn_AllChangeNameRun->setStatusTip(tr("リネームの実行"));

    // "置換"
    grp_SearchReplace->setTitle(tr("【検索・置換ファイル名】"));
    lbl_SearchName->setText(tr("検索文字列："));
    lbl_ReplaceName->setText(tr("置換文字列："));
    chk_UpLow->setText(tr("大文字と小文字を区別する"));
    chk_ChangeExt->setText(tr("拡張子も置換対象にする"));
    grp_Options->setTitle(tr("【オプション】"));
    grp_Options->setStatusTip(wordedCoreText("ReplaceOptions", replaceOptionHint_));
    const QString conversions[] = {tr("何もしない"),         tr("小文字に変換"), tr("大文字に変換"),
                                   tr("先頭を大文字に変換"), tr("全角に変換"),   tr("半角に変換"),
                                   tr("逆順に並び替え"),     tr("8.3形式に変換")};
    for (int index = 0; index < 8; ++index) {
        grp_OptionsItems->button(index)->setText(conversions[index]);
    }
    btn_ReplaceNameTest->setStatusTip(renamePreviewHint);
    btn_ReplaceNameRun->setStatusTip(tr("リネームの実行"));

    // "拡張子"
    grp_Ext->setTitle(tr("【拡張子】"));
    lbl_Ext->setText(tr("新拡張子："));
    lbl_ExtPeriod->setText(tr("．"));
    edt_Ext->setStatusTip(tr("ピリオドは必要ありません"));
    btn_ChangeExtTest->setStatusTip(renamePreviewHint);
    btn_ChangeExtRun->setStatusTip(tr("拡張子変更の実行"));

    // "日付変更"
    grp_FileDate->setTitle(tr("【ファイル日付】"));
    lbl_CreateDate->setText(tr("作成日時："));
    lbl_ModifyDate->setText(tr("更新日時："));
    lbl_AccessDate->setText(tr("アクセス日時："));
    setHint(chk_ModifyTime, tr("更新日時を変更する"));
    chk_DateTaken->setText(tr("撮影日時に合わせる"));
    setHint(chk_AccessTime, tr("アクセス日時を変更する"));
    const QString cannotSetCreated = tr("作成日時はこの環境では変更できません");
    setHint(dtt_CreateDate, cannotSetCreated);
    setHint(dtt_CreateTime, cannotSetCreated);
    lbl_CreateDate->setStatusTip(cannotSetCreated);
    // The pickers and their calendars name months and days in the language shown.
    const QLocale locale = shownLocale();
    for (QDateTimeEdit* date : {dtt_CreateDate, dtt_ModifyDate, dtt_AccessDate}) {
        date->setLocale(locale);
        date->calendarWidget()->setLocale(locale);
        date->calendarWidget()->setFirstDayOfWeek(locale.firstDayOfWeek());
    }
    for (QTimeEdit* time : {dtt_CreateTime, dtt_ModifyTime, dtt_AccessTime}) {
        time->setLocale(locale);
    }
    btn_ChangeDateTest->setStatusTip(tr("日付変更結果のプレビュー"));
    btn_ChangeDateRun->setStatusTip(tr("日付変更の実行"));

    // "属性変更"
    grp_FileAttr->setTitle(tr("【属性】"));
    chk_ReadOnly->setText(tr("読み取り専用ファイル"));
    chk_Hidden->setText(tr("隠しファイル"));
    chk_System->setText(tr("システムファイル"));
    chk_Archive->setText(tr("アーカイブファイル"));
    grp_FileAttrOpt->setTitle(tr("【オプション】"));
    const QString attributeModes[] = {tr("元の属性に追加"), tr("元の属性から削除"), tr("属性の置き換え")};
    for (int index = 0; index < 3; ++index) {
        grp_FileAttrOptItems->button(index)->setText(attributeModes[index]);
    }
    btn_ChangeAttrTest->setStatusTip(tr("属性変更結果のプレビュー"));
    btn_ChangeAttrRun->setStatusTip(tr("属性変更の実行"));

    // "画像変換"
    grp_JpegOptions->setTitle(tr("【変換形式】"));
    grp_JpegOptions->setStatusTip(jpegModeHint(jpegModeHint_));
    const QString jpegModes[] = {tr("BMP  2 JPEG"), tr("JPEG 2 BMP"), tr("BMP  2 New JPEG"),
                                 tr("JPEG 2 New BMP")};
    for (int index = 0; index < 4; ++index) {
        grp_JpegOptionsItems->button(index)->setText(jpegModes[index]);
    }
    grp_ArchiveOpt->setTitle(tr("【Jpeg圧縮オプション】"));
    Label15->setText(tr("圧縮レート："));
    trk_Compression->setStatusTip(tr("1% 低品質(高圧縮)---100% 高品質(低圧縮)"));
    chk_GrayScale->setText(tr("256色グレイスケール"));
    chk_GrayScale->setStatusTip(tr("256色モノクロ画像で保存"));
    chk_Progressive->setText(tr("プログレッシブ"));
    chk_Progressive->setStatusTip(tr("プログレッシブモードで保存"));
    btn_ChangeBMP2JPEG->setStatusTip(tr("画像変換の実行"));

    // "設定"
    grp_PreviewSetting->setTitle(tr("【プレビュー設定】"));
    chk_Set_AutoPlay->setText(tr("自動再生を行う"));
    grp_ViewSetting->setTitle(tr("【表示設定】"));
    chk_Set_HideHideFile->setText(tr("隠しファイルは非表示"));
    chk_Set_HideSysFile->setText(tr("システムファイルは非表示"));
    chk_Set_NumericSort->setText(tr("数字を数値として並べる"));
    grp_Language->setTitle(tr("表示言語 / Language"));
    cbo_Language->setItemText(0, tr("自動 / Auto"));
    lbl_Version->setText(tr("Version %1").arg(QStringLiteral(QUORVANE_VERSION)));

    // --- The title and the status bar.
    if (titleFolder_) {
        showFolderInTitle(*titleFolder_);
    }
    if (listingFailed_) {
        statusPanels_[0]->setText(wordedCoreText("Listing", core::readFailureStatus));
    } else if (listedFileCount_ >= 0) {
        statusPanels_[0]->setText(fromBytes(core::fileCountText(listedFileCount_)));
    }
    if (conflictCount_ > 0) {
        sta_Conflicts->setText(fromBytes(core::conflictCountText(conflictCount_)));
    }
    // The hint shown was worded in the language before; the next one is worded anew.
    statusPanels_[1]->clear();
}

void Tfom_Main::showFolderInTitle(const QString& folder)
{
    titleFolder_ = folder;
    setWindowTitle(tr("Quorvane    【%1】").arg(folder));
}

core::SerialPiece Tfom_Main::selectedPiece(const QComboBox* selector) const
{
    const QString text = selector->currentText();
    if (text.isEmpty()) {
        return {};
    }
    const int index = selector->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) {
        return static_cast<core::PieceKind>(selector->itemData(index).toInt());
    }
    return toBytes(text);
}

void Tfom_Main::selectPiece(QComboBox* selector, const core::SerialPiece& piece)
{
    if (piece.kind == core::PieceKind::Text) {
        selector->setCurrentIndex(-1);
        selector->setEditText(fromBytes(piece.text));
        return;
    }
    selector->setCurrentIndex(selector->findData(static_cast<int>(piece.kind)));
}

void Tfom_Main::cbo_LanguageChange()
{
    const std::string shownBefore = shownLanguage();
    if (applyLanguage(toBytes(cbo_Language->currentData().toString())) != shownBefore) {
        // Qt posts the change to windows it has not shown yet; this one and its children take it
        // at once, so that the next handler already words its texts in the new language.
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(this, &change);
    }
}

} // namespace quorvane::ui
