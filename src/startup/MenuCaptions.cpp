#include "startup/MenuCaptions.h"

#include <QMenu>
#include <QMenuBar>

namespace MenuCaptions {

void keepWhole(QMenuBar *bar)
{
    for (QAction *action : bar->actions()) {
        QMenu *menu = action->menu();
        if (!menu)
            continue;
        // On every opening: the font or the items may have changed since the last one.
        QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] {
            menu->setMinimumWidth(0);
            menu->setMinimumWidth(menu->sizeHint().width() + menu->fontMetrics().height());
        });
    }
}

} // namespace MenuCaptions
