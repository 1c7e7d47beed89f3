#include "link/link_observers.h"

#include <algorithm>

namespace kq904 {

void LinkObservers::add(LinkObserver& observer)
{
    observers_.push_back(&observer);
}

void LinkObservers::remove(LinkObserver& observer)
{
    std::erase(observers_, &observer);
}

template <typename Report> void LinkObservers::tellEach(Report report)
{
    // An observer may show a modal message box, under which another one comes or goes: each
    // is told only while it is still there.
    const std::vector<LinkObserver*> observers = observers_;
    for (LinkObserver* observer : observers) {
        if (std::find(observers_.begin(), observers_.end(), observer) != observers_.end())
            report(*observer);
    }
}

void LinkObservers::refreshRequested()
{
    tellEach([](LinkObserver& o) { o.refreshRequested(); });
}

void LinkObservers::transferEnded(LinkOutcome outcome)
{
    tellEach([outcome](LinkObserver& o) { o.transferEnded(outcome); });
}

void LinkObservers::busyChanged(bool busy)
{
    tellEach([busy](LinkObserver& o) { o.busyChanged(busy); });
}

void LinkObservers::versionReceived()
{
    tellEach([](LinkObserver& o) { o.versionReceived(); });
}

} // namespace kq904
