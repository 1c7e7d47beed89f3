#include "file_drops.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

namespace kq904 {

namespace {

// The one local file a drag carries, or an empty string.
QString droppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    return data->urls().constFirst().toLocalFile();
}

} // namespace

FileDrops::FileDrops(QWidget* window, std::function<void(const QString& path)> take)
    : QObject(window)
    , take_(std::move(take))
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool FileDrops::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::DragEnter) {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        if (!droppedFile(enter->mimeData()).isEmpty())
            enter->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = droppedFile(drop->mimeData());
        if (!path.isEmpty()) {
            drop->acceptProposedAction();
            QMetaObject::invokeMethod(
                this, [this, path] { take_(path); }, Qt::QueuedConnection);
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kq904
