#pragma once
// The Programming form: writes the radio image into a radio, reads a radio back, asks it for
// its version, and keeps the running serial number that goes into each radio programmed.
//
// The transfers are the link's sequences, run by the main window's tick while the form is
// open; the form starts them, shows their progress on its 200 ms timer, and learns how they
// ended as one of the link's observers (the dialog adds it to the session's). While a transfer
// runs, the buttons, the serial field and "Auto Increment S/N" are disabled; they come back
// once the outcome is known, before its message box shows.
//
// The serial number lives in IdSettings (the field writes it there on every change); the one
// for the next radio is kept in the profile ("SERIAL_NUMBER"), shared with other program
// windows and kq904-cli. With "Auto Increment S/N" ticked, each programming reserves its number
// from the profile when it starts (serial_numbers.h) and the field then shows the next one,
// whether the programming succeeded or not; a number the user typed is the new starting number.
// Without it, the field's number goes into the radio as it is.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "forms/controls.h"
#include "link/link.h"
#include "link/serial_numbers.h"
#include "model/radio_image.h"

namespace kq904 {

// What the Programming form asks of the program around it.
class ProgrammingHost {
public:
    virtual ~ProgrammingHost() = default;

    // Profile section "Settings". "SERIAL_NUMBER" as it is now: other windows and kq904-cli
    // move it on too.
    virtual std::uint32_t storedSerialNumber() = 0;
    virtual Result storeSerialNumber(std::uint32_t serial) = 0;
    // Takes the number for the radio about to be programmed (serial_numbers.h).
    virtual SerialReservationResult reserveSerialNumber(
        std::optional<std::uint32_t> startingAt) = 0;
    // Gives the number back when the programming could not start.
    virtual void releaseSerialNumber(const SerialReservation& reservation) = 0;
    virtual bool storedAutoIncrement() const = 0; // "OK_ADD_ONE"
    virtual void storeAutoIncrement(bool on) = 0;

    // The form's 200 ms timer, which calls ProgrammingForm::onTimer.
    virtual void startTimer() = 0;
    virtual void stopTimer() = 0;

    // A message box with an OK button ("Com Port Fail", a transfer already under way, a serial
    // number that could not be reserved or kept).
    virtual void showMessage(std::string_view text) = 0;
};

// "%07ld" of the serial number, or "?" when it has more than seven digits.
std::string serialNumberText(std::uint32_t serial);
// The value of the digits among the first seven characters of `text`; other characters are
// skipped ("12a34" gives 1234, "" and "?" give 0).
std::uint32_t parseSerialNumber(std::string_view text);
// The first seven characters of `text` (whole UTF-8 characters).
std::string firstSevenCharacters(std::string_view text);

class ProgrammingForm : public FormEvents, public LinkObserver {
public:
    static constexpr int timerPeriodMs = 200;

    ProgrammingForm(RadioImage& image, Link& link, Controls& controls, ProgrammingHost& host);

    // The form's opening steps; run once its controls raise their events here.
    void open();

    // The form's timer: the progress of the transfer it follows.
    void onTimer();

    void onClicked(int id) override;
    void onTextChanged(int id) override;
    FormEnd onClose(CloseRoute route) override;

    // LinkObserver: the end of the transfer the form started, or found running when it opened.
    // Its end state is taken in and the link set back to idle.
    void refreshRequested() override { }
    void busyChanged(bool busy) override;
    void transferEnded(LinkOutcome outcome) override;
    void versionReceived() override;

    // Closing the form will keep the field's number in the profile as the next radio's: the
    // user typed it, or (without "Auto Increment S/N") a reading put it there. A number the
    // form only showed is never stored back, so the profile never falls behind numbers another
    // window or kq904-cli took meanwhile.
    bool keepsSerialOnClose() const { return keepOnClose_; }

private:
    std::uint32_t serialNumber() const { return image_.id.get(IdSettings::serialNumber); }
    void setSerialNumber(std::uint32_t serial) { image_.id.set(IdSettings::serialNumber, serial); }
    bool versionShown() const { return image_.hasFeature(FeatureFlags::versionShow); }

    bool autoIncrement() const;

    void startProgramming();
    // Starts a transfer; false, after telling the user why, when it does not start ("Com Port
    // Fail", or another transfer under way).
    bool start(Result (Link::*startSequence)());
    // Disables the controls that would start a transfer or change the serial number, and
    // follows the transfer until it ends.
    void followTransfer();
    void setTransferControls(bool enabled);
    void showProgress();
    // True, once, for the outcome of the transfer this form follows: its last progress is
    // shown and the link set back to idle.
    bool takeInEnd();
    void takeInReading();
    void takeInProgramming(bool succeeded);
    // Fills the field (and so the image) with a number the form chose, not the user.
    void showSerial(std::uint32_t serial);

    RadioImage& image_;
    Link& link_;
    Controls& controls_;
    ProgrammingHost& host_;
    bool keepOnClose_ = false;
    bool fillingField_ = false;
    // The transfer whose end this form takes in: running, then ended (its outcome comes next).
    enum class Follow { None, Running, Ended };
    Follow follow_ = Follow::None;
    // The number the running programming took from the profile.
    std::optional<SerialReservation> reservation_;
};

} // namespace kq904
