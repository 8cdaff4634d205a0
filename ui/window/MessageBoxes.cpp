#include "MessageBoxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>

namespace quorvane::ui {

namespace {

const QString applicationTitle = QStringLiteral("Quorvane");

// A question box that tells the close button apart from Esc: Qt lets both press the escape
// button, but closing the box answers neither Yes nor No.
class QuestionBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;
    bool closedByCloseButton() const { return closed_; }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        closed_ = true;
        QMessageBox::closeEvent(event);
    }

private:
    bool closed_ = false;
};

QString okCaption()
{
    return QCoreApplication::translate("MessageBoxes", "OK");
}

QWidget* boxParent(QWidget* parent)
{
    return parent != nullptr ? parent : QApplication::activeWindow();
}

} // namespace

QString displayText(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

core::Answer QtMessageBoxes::ask(Kind kind, const QString& text)
{
    bool unused = false;
    return question(kind, text, QString(), unused);
}

core::Answer QtMessageBoxes::askAboutFailure(const QString& text, bool& sameForLaterErrors)
{
    return question(Kind::Error, text,
                    QCoreApplication::translate("MessageBoxes", "以降のエラーにも同じ答えを使う"),
                    sameForLaterErrors);
}

core::Answer QtMessageBoxes::question(Kind kind, const QString& text, const QString& checkCaption,
                                      bool& checked)
{
    const bool information = kind == Kind::Information;
    QuestionBox box(information ? QMessageBox::Information : QMessageBox::Critical,
                    information ? QCoreApplication::translate("MessageBoxes", "情報")
                                : QCoreApplication::translate("MessageBoxes", "エラー"),
                    displayText(text), QMessageBox::NoButton, boxParent(parent_));
    QPushButton* yes =
        box.addButton(QCoreApplication::translate("MessageBoxes", "はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no =
        box.addButton(QCoreApplication::translate("MessageBoxes", "いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    if (!checkCaption.isEmpty()) {
        box.setCheckBox(new QCheckBox(checkCaption));
    }
    box.exec();
    checked = box.checkBox() != nullptr && box.checkBox()->isChecked();
    if (box.closedByCloseButton()) {
        return core::Answer::Closed;
    }
    return box.clickedButton() == yes ? core::Answer::Yes : core::Answer::No;
}

void QtMessageBoxes::tell(const QString& text)
{
    plainBox(QMessageBox::NoIcon, text);
}

void QtMessageBoxes::reportCompletion(const QString& text, bool listsFailures)
{
    plainBox(listsFailures ? QMessageBox::Warning : QMessageBox::Information, text);
}

void QtMessageBoxes::plainBox(QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, applicationTitle, displayText(text), QMessageBox::NoButton, boxParent(parent_));
    box.addButton(okCaption(), QMessageBox::AcceptRole);
    box.exec();
}

void QtMessageBoxes::reportError(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, applicationTitle, displayText(text), QMessageBox::NoButton,
                    boxParent(parent_));
    box.addButton(okCaption(), QMessageBox::AcceptRole);
    box.exec();
}

} // namespace quorvane::ui
