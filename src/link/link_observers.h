#pragma once
// The link reports to one observer; this one passes each report on to every observer added to
// it, in the order they were added. A program's session keeps one for what follows a transfer
// beside itself, such as a Programming form while it is open.

#include <vector>

#include "link/link.h"

namespace kq904 {

class LinkObservers final : public LinkObserver {
public:
    void add(LinkObserver& observer);
    void remove(LinkObserver& observer);

    void refreshRequested() override;
    void transferEnded(LinkOutcome outcome) override;
    void busyChanged(bool busy) override;
    void versionReceived() override;

private:
    template <typename Report> void tellEach(Report report);

    std::vector<LinkObserver*> observers_;
};

} // namespace kq904
