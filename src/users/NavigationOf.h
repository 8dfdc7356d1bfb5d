#pragma once

#include "platform/NavigationController.h"

#include <QWidget>

namespace tonara {

// The navigation stack a screen sits in, or nullptr when it is in none.
inline NavigationController *navigationOf(const QWidget *screen)
{
    for (QWidget *w = screen ? screen->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto *nav = qobject_cast<NavigationController *>(w))
            return nav;
    return nullptr;
}

} // namespace tonara
