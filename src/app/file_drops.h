#pragma once
// Files dropped on a window: one local file at a time is taken, whatever its kind, so that a
// file of the wrong kind gets its reason rather than a silent refusal. The file is handed on
// once the event loop comes back, so message boxes and forms never run inside the drop while
// the program the file came from waits.

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace kq904 {

class FileDrops final : public QObject {
    Q_OBJECT
public:
    // Takes drops on `window` and hands each dropped file's path to `take`.
    FileDrops(QWidget* window, std::function<void(const QString& path)> take);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QString&)> take_;
};

} // namespace kq904
