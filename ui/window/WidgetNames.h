#pragma once

#include <QString>

namespace quorvane::ui {

// Gives a control the name the program knows it by and hands it back, so that building a control
// and naming it is one expression.
template <class Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace quorvane::ui
