#include "window_geometry.h"

#include <QMainWindow>
#include <QSettings>

namespace kq904 {

bool restoreWindowGeometry(QMainWindow& window, QSettings& store)
{
    const QByteArray geometry = store.value(QLatin1String(kWindowGeometryKey)).toByteArray();
    if (geometry.isEmpty())
        return false;
    // Qt moves a window whose screen is gone, or that would lie off every screen, onto one.
    if (!window.restoreGeometry(geometry))
        return false;
    window.restoreState(store.value(QLatin1String(kWindowStateKey)).toByteArray());
    return true;
}

void saveWindowGeometry(const QMainWindow& window, QSettings& store)
{
    store.setValue(QLatin1String(kWindowGeometryKey), window.saveGeometry());
    store.setValue(QLatin1String(kWindowStateKey), window.saveState());
    store.sync();
}

} // namespace kq904
