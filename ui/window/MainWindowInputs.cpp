// The inputs of the operation tabs, kept in the settings file from one start to the next.

#include "HandlerSupport.h"
#include "MainWindow.h"
#include "core/rules/ReplaceRule.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSlider>
#include <algorithm>
#include <climits>
#include <utility>

namespace quorvane::ui {

void Tfom_Main::applyInputs(const core::InputSettings& inputs)
{
    const auto text = [](const std::optional<std::string>& value, const auto& apply) {
        if (value) {
            apply(fromBytes(*value));
        }
    };
    const auto check = [](const std::optional<bool>& value, QCheckBox* box) {
        if (value) {
            box->setChecked(*value);
        }
    };
    // The file keeps an item by its Japanese words, whatever the language shown.
    for (const auto& [value, selector] :
         {std::pair{&inputs.FileName1, cbo_FileName1}, std::pair{&inputs.FileName2, cbo_FileName2},
          std::pair{&inputs.FileName3, cbo_FileName3}}) {
        if (*value) {
            selectPiece(selector, core::pieceOfStoredText(**value));
        }
    }
    if (inputs.FileNameNo) {
        num_FileNameNo->setValue(static_cast<qint64>(*inputs.FileNameNo) * 10000);
    }
    if (inputs.NumberCnt) {
        num_NumberCnt->setValue(static_cast<qint64>(*inputs.NumberCnt) * 10000);
    }
    text(inputs.SearchName, [this](const QString& t) { edt_SearchName->setText(t); });
    text(inputs.ReplaceName, [this](const QString& t) { edt_ReplaceName->setText(t); });
    check(inputs.UpLow, chk_UpLow);
    check(inputs.ChangeExt, chk_ChangeExt);
    if (inputs.ReplaceOption) {
        grp_OptionsItems->button(*inputs.ReplaceOption)->setChecked(true);
        if (const auto hint = core::replaceOptionHint(*inputs.ReplaceOption)) {
            replaceOptionHint_ = *hint;
            grp_Options->setStatusTip(wordedCoreText("ReplaceOptions", *hint));
        }
    }
    text(inputs.Ext, [this](const QString& t) { edt_Ext->setText(t); });
    check(inputs.ModifyTime, chk_ModifyTime);
    check(inputs.AccessTime, chk_AccessTime);
    check(inputs.DateTaken, chk_DateTaken);
    if (inputs.JpegOption) {
        grp_JpegOptionsItems->button(*inputs.JpegOption)->setChecked(true);
        grp_JpegOptionsClick(*inputs.JpegOption);
    }
    if (inputs.Compression) {
        trk_Compression->setValue(*inputs.Compression);
    }
    check(inputs.GrayScale, chk_GrayScale);
    check(inputs.Progressive, chk_Progressive);
    check(inputs.NumericSort, chk_Set_NumericSort);
}

core::InputSettings Tfom_Main::currentInputs() const
{
    core::InputSettings inputs;
    inputs.FileName1 = core::storedText(selectedPiece(cbo_FileName1));
    inputs.FileName2 = core::storedText(selectedPiece(cbo_FileName2));
    inputs.FileName3 = core::storedText(selectedPiece(cbo_FileName3));
    inputs.FileNameNo =
        static_cast<int>(std::clamp<qint64>(num_FileNameNo->value() / 10000, INT_MIN, INT_MAX));
    bool isNumber = false;
    const int digitCount = num_NumberCnt->text().toInt(&isNumber);
    if (isNumber) {
        inputs.NumberCnt = digitCount;
    }
    inputs.SearchName = toBytes(edt_SearchName->text());
    inputs.ReplaceName = toBytes(edt_ReplaceName->text());
    inputs.UpLow = chk_UpLow->isChecked();
    inputs.ChangeExt = chk_ChangeExt->isChecked();
    inputs.ReplaceOption = std::max(0, grp_OptionsItems->checkedId());
    inputs.Ext = toBytes(edt_Ext->text());
    inputs.ModifyTime = chk_ModifyTime->isChecked();
    inputs.AccessTime = chk_AccessTime->isChecked();
    inputs.DateTaken = chk_DateTaken->isChecked();
    inputs.JpegOption = std::max(0, grp_JpegOptionsItems->checkedId());
    inputs.Compression = trk_Compression->value();
    inputs.GrayScale = chk_GrayScale->isChecked();
    inputs.Progressive = chk_Progressive->isChecked();
    inputs.NumericSort = chk_Set_NumericSort->isChecked();
    return inputs;
}

} // namespace quorvane::ui
