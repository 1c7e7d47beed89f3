#include "session.h"

#include <QApplication>

#include "model/feature_flags.h"
#include "model/table_files.h"

namespace kq904 {

Session::Session(const SessionOptions& options, std::unique_ptr<ProfileSettings> profile)
    : dataDir_(options.dataDir)
    , profile_(std::move(profile))
    , port_(*profile_)
    , link_(image_, port_, this)
    , document_(image_, dataDir_)
    , messages_(std::make_unique<MessageBoxPresenter>())
{
    loadTableFiles(image_, dataDir_);
    factoryEnabled_ = readFeatureFlags(image_, dataDir_);
    if (options.simulate) {
        simulated_ = std::make_unique<SimulatedPort>();
        port_.attachSimulatedRadio(*simulated_);
    }
}

Session::~Session()
{
    link_.setObserver(nullptr);
}

void Session::setMessagePresenter(std::unique_ptr<MessagePresenter> presenter)
{
    messages_ = std::move(presenter);
}

void Session::refreshRequested()
{
    document_.refresh();
}

void Session::transferEnded(LinkOutcome outcome)
{
    const std::string_view text = outcomeText(outcome);
    messages_->showMessage(
        messageParent_, QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

} // namespace kq904
