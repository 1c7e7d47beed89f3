#pragma once
// A settings-form host that records what the form asked for, in order, as readable lines
// ("write setTab.bin", "update killTab.bin", "run Code Function", "refresh", "end accepted").

#include <functional>
#include <string>
#include <vector>

#include "forms/settings_form_host.h"
#include "support/memory_controls.h"

namespace kq904::testing {

class RecordingHost : public SettingsFormHost {
public:
    std::vector<std::string> calls;
    // What the nested forms do while they run (a test may edit the image there).
    std::function<void()> codeFunctionForm;
    std::function<void()> killFeatureForm;

    void writeTableFile(TableFile file) override
    {
        calls.push_back(std::string("write ") + tableFileName(file));
    }
    void updateTableFile(TableFile file) override
    {
        calls.push_back(std::string("update ") + tableFileName(file));
    }
    void runCodeFunctionForm() override
    {
        calls.push_back("run Code Function");
        if (codeFunctionForm)
            codeFunctionForm();
    }
    void runKillFeatureForm() override
    {
        calls.push_back("run Kill Feature");
        if (killFeatureForm)
            killFeatureForm();
    }
    void sendRefresh() override { calls.push_back("refresh"); }
    void endForm(FormEnd end) override
    {
        calls.push_back(end == FormEnd::Accepted ? "end accepted" : "end rejected");
    }
};

// A form opened on `image` over in-memory controls and a recording host, as its dialog opens it.
template <typename Form> struct OpenedForm {
    explicit OpenedForm(RadioImage& image)
        : form(image, controls, host)
    {
        controls.setEvents(&form);
        form.open();
    }
    MemoryControls controls;
    RecordingHost host;
    Form form;
};

} // namespace kq904::testing
