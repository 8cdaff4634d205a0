#pragma once

#include "core/rules/NumericText.h"

#include <QLineEdit>

namespace quorvane::ui {

// A one-line field for numbers that keeps a committed value beside its text. Leaving the field
// normalises the text and commits it as Value, a fixed-point number with four decimals (the number
// times 10 000); while the user types, Value keeps the last committed number.
class TNumEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(Qt::Alignment Alignment READ alignment WRITE setAlignment)
    Q_PROPERTY(bool Thousands READ thousands WRITE setThousands)
    Q_PROPERTY(quint8 DecimalDidits READ decimalDidits WRITE setDecimalDidits)
    Q_PROPERTY(qint64 Value READ value WRITE setValue)

public:
    explicit TNumEdit(QWidget* parent = nullptr);

    bool thousands() const { return thousands_; }
    // A change normalises the current text with the new setting; Value stays.
    void setThousands(bool thousands);

    quint8 decimalDidits() const { return decimalDidits_; }
    // A change normalises the current text with the new setting; Value stays.
    void setDecimalDidits(quint8 decimals);

    qint64 value() const { return value_; }
    // Shows the value's general text (normalised only with Thousands on) and stores it.
    void setValue(qint64 value);

    // Does what leaving the field does: normalises the text, commits it as Value and sends the
    // exit notification. False, with conversionFailed sent and text and Value unchanged, when the
    // text cannot be read.
    bool commitAsLeaving();

Q_SIGNALS:
    // The field was left and its text committed; not sent when the text could not be read.
    void exited();
    // The text could not be read as a number; text and Value are unchanged. The window shows the
    // message through its error report.
    void conversionFailed(const QString& message);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    core::NumberPattern pattern() const;
    void normaliseText();
    bool commit();

    bool thousands_ = false;
    quint8 decimalDidits_ = 0;
    qint64 value_ = 0;
};

} // namespace quorvane::ui
