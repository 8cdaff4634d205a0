#include "NumEdit.h"

#include "platform/Locale.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace quorvane::ui {

TNumEdit::TNumEdit(QWidget* parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setText(QStringLiteral("0"));
}

core::NumberPattern TNumEdit::pattern() const
{
    core::NumberPattern pattern;
    pattern.thousands = thousands_;
    pattern.decimals = decimalDidits_;
    if (thousands_) {
        pattern.separator = platform::thousandsSeparator();
    }
    return pattern;
}

void TNumEdit::setThousands(bool thousands)
{
    if (thousands != thousands_) {
        thousands_ = thousands;
        normaliseText();
    }
}

void TNumEdit::setDecimalDidits(quint8 decimals)
{
    if (decimals != decimalDidits_) {
        decimalDidits_ = decimals;
        normaliseText();
    }
}

void TNumEdit::setValue(qint64 value)
{
    value_ = value;
    setText(QString::fromUtf8(core::generalNumberText(value)));
    if (thousands_) {
        normaliseText();
    }
}

void TNumEdit::normaliseText()
{
    const core::NumberResult result = core::normaliseNumberText(text().toUtf8().toStdString(), pattern());
    if (!result.ok) {
        Q_EMIT conversionFailed(QString::fromUtf8(result.error));
        return;
    }
    setText(QString::fromUtf8(result.text));
}

bool TNumEdit::commit()
{
    const core::NumberResult result = core::commitNumberText(text().toUtf8().toStdString(), pattern());
    if (!result.ok) {
        Q_EMIT conversionFailed(QString::fromUtf8(result.error));
        return false;
    }
    setText(QString::fromUtf8(result.text));
    value_ = result.value;
    return true;
}

bool TNumEdit::commitAsLeaving()
{
    if (!commit()) {
        return false;
    }
    Q_EMIT exited();
    return true;
}

void TNumEdit::keyPressEvent(QKeyEvent* event)
{
    // Enter produces nothing in this field: no character, no commit, no default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TNumEdit::focusOutEvent(QFocusEvent* event)
{
    // A context menu opening over the field does not take the user out of it.
    const bool leaving = event->reason() != Qt::PopupFocusReason;
    const bool committed = leaving && commit();
    QLineEdit::focusOutEvent(event);
    if (committed) {
        Q_EMIT exited();
    }
}

} // namespace quorvane::ui
