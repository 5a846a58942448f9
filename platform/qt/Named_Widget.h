#pragma once
// Form components are made with their design name as objectName, by which
// tests and the forms' own code find them.

#include <utility>

#include <QString>

namespace tessaran {

template <class Widget, class... Arguments>
Widget *Named(const char *name, Arguments &&...arguments)
{
    auto *widget = new Widget(std::forward<Arguments>(arguments)...);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace tessaran
