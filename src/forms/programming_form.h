#pragma once
// The Programming form: writes the radio image into a radio, reads a radio back, asks it for
// its version, and keeps the running serial number that goes into each radio programmed.
//
// The transfers are the link's sequences, run by the main window's tick while the form is
// open; the form starts them, follows them with its 200 ms timer through linkState, shows the
// progress, and reacts to the end state: after a programming with "Auto Increment S/N" ticked
// the serial number moves on for the next radio, after a reading the field shows the serial
// number just read. The serial number lives in IdSettings (the field writes it there on every
// change) and is kept for the next session in the profile ("SERIAL_NUMBER").

#include <cstdint>
#include <string>
#include <string_view>

#include "forms/controls.h"
#include "link/link.h"
#include "model/radio_image.h"

namespace kq904 {

// What the Programming form asks of the program around it.
class ProgrammingHost {
public:
    virtual ~ProgrammingHost() = default;

    // Profile section "Settings".
    virtual std::uint32_t storedSerialNumber() const = 0; // "SERIAL_NUMBER"
    virtual void storeSerialNumber(std::uint32_t serial) = 0;
    virtual bool storedAutoIncrement() const = 0; // "OK_ADD_ONE"
    virtual void storeAutoIncrement(bool on) = 0;

    // The form's 200 ms timer, which calls ProgrammingForm::onTimer.
    virtual void startTimer() = 0;
    virtual void stopTimer() = 0;

    // A message box with an OK button ("Com Port Fail").
    virtual void showMessage(std::string_view text) = 0;
};

// The largest serial number the seven-digit field shows.
inline constexpr std::uint32_t kMaxSerialNumber = 9'999'999;

// "%07ld" of the serial number, or "?" when it has more than seven digits.
std::string serialNumberText(std::uint32_t serial);
// The value of the digits among the first seven characters of `text`; other characters are
// skipped ("12a34" gives 1234, "" and "?" give 0).
std::uint32_t parseSerialNumber(std::string_view text);
// The first seven characters of `text` (whole UTF-8 characters).
std::string firstSevenCharacters(std::string_view text);

class ProgrammingForm : public FormEvents {
public:
    static constexpr int timerPeriodMs = 200;

    ProgrammingForm(RadioImage& image, Link& link, Controls& controls, ProgrammingHost& host);

    // The form's opening steps; run once its controls raise their events here.
    void open();

    // The form's timer.
    void onTimer();

    void onClicked(int id) override;
    void onTextChanged(int id) override;
    FormEnd onClose(CloseRoute route) override;

    // The serial number has been changed since the form opened (the field was filled or
    // edited, or Reading was pressed): closing the form keeps it in the profile.
    bool serialChanged() const { return serialChanged_; }

private:
    std::uint32_t serialNumber() const { return image_.id.get(IdSettings::serialNumber); }
    void setSerialNumber(std::uint32_t serial) { image_.id.set(IdSettings::serialNumber, serial); }
    bool versionShown() const { return image_.hasFeature(FeatureFlags::versionShow); }

    // Starts a transfer; false (after "Com Port Fail") when the port will not open.
    bool start(Result (Link::*startSequence)());
    void showProgress();
    void takeInReading();
    void takeInProgramming();

    RadioImage& image_;
    Link& link_;
    Controls& controls_;
    ProgrammingHost& host_;
    bool serialChanged_ = false;
};

} // namespace kq904
