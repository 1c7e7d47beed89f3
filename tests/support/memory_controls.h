#pragma once
// An in-memory control set for driving form logic in tests. Controls spring into existence
// (enabled, shown, empty) the first time an id is used; setText raises the form's text-change
// event like a real text field does.

#include <map>
#include <string>
#include <vector>

#include "forms/controls.h"

namespace kq904::testing {

class MemoryControls : public Controls {
public:
    struct Control {
        bool checked = false;
        bool enabled = true;
        bool shown = true;
        std::string text;
        std::vector<std::string> items;
        int selected = -1;
        int progress = 0;
        int progressMaximum = 0;
    };

    // The form whose events setText raises (set once the form exists).
    void setEvents(FormEvents* events) { events_ = events; }

    bool checked(int id) const override { return get(id).checked; }
    void setChecked(int id, bool on) override { at(id).checked = on; }
    bool enabled(int id) const override { return get(id).enabled; }
    void setEnabled(int id, bool on) override { at(id).enabled = on; }
    bool shown(int id) const override { return get(id).shown; }
    void setShown(int id, bool on) override { at(id).shown = on; }
    std::string text(int id) const override { return get(id).text; }
    void setText(int id, const std::string& text) override
    {
        at(id).text = text;
        if (events_)
            events_->onTextChanged(id);
    }
    std::vector<std::string> items(int id) const override { return get(id).items; }
    void setItems(int id, const std::vector<std::string>& items) override
    {
        at(id).items = items;
        at(id).selected = -1;
    }
    int selectedIndex(int id) const override { return get(id).selected; }
    void setSelectedIndex(int id, int index) override
    {
        const int count = static_cast<int>(at(id).items.size());
        at(id).selected = (index >= 0 && index < count) ? index : -1;
    }
    void setProgress(int id, int position, int maximum) override
    {
        at(id).progress = position;
        at(id).progressMaximum = maximum;
    }

    // What a user does: these raise the form's events.
    void type(int id, const std::string& text) { setText(id, text); }
    void click(int id)
    {
        if (events_)
            events_->onClicked(id);
    }
    void toggle(int id)
    {
        at(id).checked = !at(id).checked;
        click(id);
    }
    void select(int id, int index)
    {
        setSelectedIndex(id, index);
        if (events_)
            events_->onSelectionChanged(id);
    }
    // A close request (OK or Cancel button, Enter, Escape, close box); how the form ends.
    FormEnd close(CloseRoute route)
    {
        return events_ ? events_->onClose(route) : FormEnd::Rejected;
    }

    const Control& get(int id) const
    {
        static const Control kAbsent{};
        const auto it = controls_.find(id);
        return it == controls_.end() ? kAbsent : it->second;
    }
    Control& at(int id) { return controls_[id]; }

private:
    std::map<int, Control> controls_;
    FormEvents* events_ = nullptr;
};

} // namespace kq904::testing
