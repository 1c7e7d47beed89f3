// stop_requests.h on Windows: a console control handler sets an event that a QWinEventNotifier
// watches. The handler runs on a thread of its own that Windows starts, and receives no context,
// so the event it sets is the one thing kept at file scope.
#include "cli/stop_requests.h"

#include <QWinEventNotifier>
#include <atomic>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace kq904::cli {

namespace {

std::atomic<HANDLE> stopEvent{nullptr};

BOOL WINAPI onConsoleControl(DWORD type)
{
    switch (type) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
        if (HANDLE event = stopEvent.load())
            SetEvent(event);
        return TRUE; // handled: the program ends once the radios under way are done
    default:
        return FALSE;
    }
}

} // namespace

struct StopRequests::Platform {
    HANDLE event = nullptr;
    std::unique_ptr<QWinEventNotifier> notifier;

    ~Platform()
    {
        SetConsoleCtrlHandler(onConsoleControl, FALSE);
        stopEvent.store(nullptr);
        notifier.reset();
        if (event)
            CloseHandle(event);
    }
};

std::unique_ptr<StopRequests> StopRequests::catchThem(
    std::function<void()> onStop, std::string* error)
{
    auto platform = std::make_unique<Platform>();
    platform->event = CreateEventW(nullptr, FALSE, FALSE, nullptr); // auto-reset
    if (!platform->event) {
        if (error)
            *error =
                "cannot create an event (Windows error " + std::to_string(GetLastError()) + ")";
        return nullptr;
    }
    stopEvent.store(platform->event);
    if (!SetConsoleCtrlHandler(onConsoleControl, TRUE)) {
        if (error)
            *error =
                "cannot watch the console (Windows error " + std::to_string(GetLastError()) + ")";
        return nullptr;
    }
    platform->notifier = std::make_unique<QWinEventNotifier>(platform->event);
    QObject::connect(platform->notifier.get(), &QWinEventNotifier::activated,
        platform->notifier.get(), [onStop = std::move(onStop)] { onStop(); });
    return std::unique_ptr<StopRequests>(new StopRequests(std::move(platform)));
}

StopRequests::StopRequests(std::unique_ptr<Platform> platform)
    : platform_(std::move(platform))
{ }

StopRequests::~StopRequests() = default;

} // namespace kq904::cli
