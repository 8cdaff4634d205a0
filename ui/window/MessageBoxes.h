#pragma once

#include "core/runs/RenameRun.h"

#include <QMessageBox>
#include <QString>

class QWidget;

namespace quorvane::ui {

// The window's message boxes behind one small interface, so that tests can answer them. Their
// titles and buttons are in the language shown.
class MessageBoxes
{
public:
    // The two kinds of question box: "情報" with the information icon, "エラー" with the error icon.
    enum class Kind
    {
        Information,
        Error,
    };

    virtual ~MessageBoxes() = default;

    // A modal question with "はい(&Y)" (Enter) and "いいえ(&N)" (Esc); closing the box with its close
    // button answers Closed.
    virtual core::Answer ask(Kind kind, const QString& text) = 0;
    // A run's failure question: the error box of ask() with the check box
    // "以降のエラーにも同じ答えを使う", unchecked; sameForLaterErrors says whether the user checked it.
    virtual core::Answer askAboutFailure(const QString& text, bool& sameForLaterErrors) = 0;
    // A plain modal box titled "Quorvane" with one "OK" button.
    virtual void tell(const QString& text) = 0;
    // A run's completion message: tell()'s box with the warning icon when the message lists files
    // the run could not change, else with the information icon.
    virtual void reportCompletion(const QString& text, bool listsFailures) = 0;
    // The application's error report: the error's text in a box titled "Quorvane".
    virtual void reportError(const QString& text) = 0;
};

// The real boxes, modal over the given window (or the active one).
class QtMessageBoxes : public MessageBoxes
{
public:
    explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}

    core::Answer ask(Kind kind, const QString& text) override;
    core::Answer askAboutFailure(const QString& text, bool& sameForLaterErrors) override;
    void tell(const QString& text) override;
    void reportCompletion(const QString& text, bool listsFailures) override;
    void reportError(const QString& text) override;

private:
    // A question box; with a check box captioned checkCaption (unless empty), whose state comes
    // back in checked.
    core::Answer question(Kind kind, const QString& text, const QString& checkCaption, bool& checked);
    void plainBox(QMessageBox::Icon icon, const QString& text);

    QWidget* parent_;
};

// The texts of the program keep CR LF line breaks; a box shows them as plain line breaks.
QString displayText(const QString& text);

} // namespace quorvane::ui
