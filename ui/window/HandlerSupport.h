#pragma once

// What the window's handlers share: texts between Qt and the program's bytes, and the busy cursor.

#include <QApplication>
#include <QString>
#include <string>
#include <string_view>

namespace quorvane::ui {

inline QString fromBytes(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toBytes(const QString& text)
{
    return text.toUtf8().toStdString();
}

// A text that core marked for translation and hands over untranslated, in the language shown.
inline QString wordedCoreText(const char* context, std::string_view sourceText)
{
    return QCoreApplication::translate(context, std::string(sourceText).c_str());
}

// The hourglass for as long as an operation works; restore() gives the arrow back early.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { restore(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    void restore()
    {
        if (active_) {
            active_ = false;
            QApplication::restoreOverrideCursor();
        }
    }

private:
    bool active_ = true;
};

} // namespace quorvane::ui
