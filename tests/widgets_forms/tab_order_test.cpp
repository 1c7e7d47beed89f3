// Every form can be used without a mouse: it starts on a control rather than on a button Enter
// would press, and Tab walks its controls in reading order, one group box at a time.
#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>
#include <set>

#include "forms/widgets/channel_name_dialog.h"
#include "forms/widgets/channel_setting_dialog.h"
#include "forms/widgets/code_function_dialog.h"
#include "forms/widgets/factory_setting_dialog.h"
#include "forms/widgets/general_setting_dialog.h"
#include "forms/widgets/kill_feature_dialog.h"

namespace kq904 {
namespace {

// The controls Tab reaches, from the one the form starts on, once round.
std::vector<QWidget*> tabChain(QWidget* form)
{
    std::vector<QWidget*> chain;
    QWidget* start = form->focusWidget();
    if (!start)
        return chain;
    QWidget* widget = start;
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisible())
            chain.push_back(widget);
        widget = widget->nextInFocusChain();
    } while (widget != start && chain.size() < 200);
    return chain;
}

TEST(TabOrder, EveryFormStartsOnAControlAndTabsInReadingOrder)
{
    RadioImage image;
    image.featureFlags = 0xFFFF;
    image.general.set(GeneralSettings::dtmfVersion, true);
    image.setChannelCount(5);
    QWidget parent;
    std::vector<std::pair<const char*, std::unique_ptr<QDialog>>> forms;
    forms.emplace_back("Channel Setting", makeChannelSettingScreenshot(image, 1, &parent));
    forms.emplace_back("Channel Name", makeChannelNameScreenshot(image, 1, &parent));
    forms.emplace_back("General Setting", makeGeneralSettingScreenshot(image, &parent));
    forms.emplace_back("Code Function", makeCodeFunctionScreenshot(image, &parent));
    forms.emplace_back("Kill Feature", makeKillFeatureScreenshot(image, &parent));
    forms.emplace_back("Factory Setting", makeFactorySettingScreenshot(image, &parent));
    for (const auto& [name, form] : forms) {
        form->show();
        QApplication::processEvents();
        const std::vector<QWidget*> chain = tabChain(form.get());
        ASSERT_GT(chain.size(), 2U) << name;
        EXPECT_EQ(qobject_cast<QPushButton*>(chain.front()), nullptr) << name;
        std::set<QWidget*> groupsLeft;
        for (std::size_t i = 1; i < chain.size(); ++i) {
            QWidget* previous = chain[i - 1];
            QWidget* next = chain[i];
            const auto label = [](QWidget* w) {
                auto* button = qobject_cast<QAbstractButton*>(w);
                return std::string(w->metaObject()->className()) + " "
                    + (button ? button->text().toStdString() : "");
            };
            // A group box, once left, is not entered again.
            auto* group = qobject_cast<QGroupBox*>(next->parentWidget());
            if (previous->parentWidget() != next->parentWidget()) {
                groupsLeft.insert(previous->parentWidget());
                EXPECT_FALSE(group && groupsLeft.count(group))
                    << name << ": back into a group at " << label(next);
                continue;
            }
            // In a group, the next control stands on the same line further right, or lower.
            const QRect a = previous->geometry();
            const QRect b = next->geometry();
            const bool sameLine = std::abs(a.center().y() - b.center().y()) < a.height() / 2 + 2;
            EXPECT_TRUE(!group || (sameLine ? b.left() > a.left() : b.top() > a.top()))
                << name << ": " << label(previous) << " then " << label(next);
        }
    }
}

} // namespace
} // namespace kq904
