#include "programming_form.h"

#include <cstdio>

#include "programming_ids.h"

namespace kq904 {

namespace ids = programming_ids;

namespace {

// Only whole UTF-8 characters are counted: a continuation byte belongs to the one before it.
bool startsCharacter(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0u) != 0x80u;
}

constexpr std::size_t kSerialDigits = 7;

} // namespace

std::string serialNumberText(std::uint32_t serial)
{
    if (serial > kMaxSerialNumber)
        return "?";
    char text[16];
    std::snprintf(text, sizeof text, "%07u", static_cast<unsigned>(serial));
    return text;
}

std::string firstSevenCharacters(std::string_view text)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (startsCharacter(text[i]) && ++characters > kSerialDigits)
            return std::string(text.substr(0, i));
    }
    return std::string(text);
}

std::uint32_t parseSerialNumber(std::string_view text)
{
    std::uint32_t serial = 0;
    for (const char c : firstSevenCharacters(text)) {
        if (c >= '0' && c <= '9')
            serial = serial * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return serial;
}

ProgrammingForm::ProgrammingForm(
    RadioImage& image, Link& link, Controls& controls, ProgrammingHost& host)
    : image_(image)
    , link_(link)
    , controls_(controls)
    , host_(host)
{ }

bool ProgrammingForm::autoIncrement() const
{
    return controls_.checked(ids::autoIncrement);
}

void ProgrammingForm::open()
{
    if (!versionShown()) {
        controls_.setShown(ids::version, false);
        controls_.setShown(ids::versionText, false);
    }
    if (link_.busy()) {
        // A transfer started earlier is still running (the form was closed under it): its
        // image, serial number included, is not to be touched until it ends.
        controls_.setChecked(ids::autoIncrement, host_.storedAutoIncrement());
        followTransfer();
        return;
    }
    // The serial number in the image becomes the one of the profile (a stored number of eight
    // digits shows "?" and so becomes 0).
    showSerial(host_.storedSerialNumber());
    controls_.setChecked(ids::autoIncrement, host_.storedAutoIncrement());
}

void ProgrammingForm::showSerial(std::uint32_t serial)
{
    fillingField_ = true;
    controls_.setText(ids::serialNumber, serialNumberText(serial));
    fillingField_ = false;
}

void ProgrammingForm::onTextChanged(int id)
{
    if (id != ids::serialNumber)
        return;
    const std::string text = controls_.text(id);
    const std::string kept = firstSevenCharacters(text);
    if (kept != text)
        controls_.setText(id, kept); // raises this event again with the seven characters
    setSerialNumber(parseSerialNumber(kept));
    if (!fillingField_)
        keepOnClose_ = true; // typed: the new number for the next radio
}

void ProgrammingForm::onClicked(int id)
{
    switch (id) {
    case ids::programming:
        startProgramming();
        break;
    case ids::reading:
        if (start(&Link::startReading))
            controls_.setProgress(ids::progress, 1, 100);
        break;
    case ids::version:
        if (start(&Link::requestVersion))
            controls_.setProgress(ids::progress, 0, 100);
        break;
    case ids::autoIncrement:
        host_.storeAutoIncrement(controls_.checked(ids::autoIncrement));
        break;
    default:
        break;
    }
}

void ProgrammingForm::startProgramming()
{
    if (link_.busy()) {
        host_.showMessage(link_.busyText());
        return;
    }
    if (autoIncrement()) {
        // The number comes from the profile at the last moment, under its lock, and is stored
        // advanced before the radio sees it. A number the user typed starts a new run.
        const std::optional<std::uint32_t> startingAt =
            keepOnClose_ ? std::optional(serialNumber()) : std::nullopt;
        const SerialReservationResult taken = host_.reserveSerialNumber(startingAt);
        if (!taken.result) {
            host_.showMessage(taken.result.error);
            return;
        }
        reservation_ = taken.reservation;
        keepOnClose_ = false;
        showSerial(taken.reservation.serial);
    }
    if (!start(&Link::startProgramming)) {
        // Nothing reached a radio: the number may go to the next one after all.
        if (reservation_)
            host_.releaseSerialNumber(*reservation_);
        reservation_.reset();
        return;
    }
    controls_.setProgress(ids::progress, 1, 100);
}

bool ProgrammingForm::start(Result (Link::*startSequence)())
{
    if (const Result started = (link_.*startSequence)(); !started) {
        // "Com Port Fail" keeps the program's own words; the host adds which device and why.
        host_.showMessage(started.error);
        return false;
    }
    followTransfer();
    return true;
}

void ProgrammingForm::followTransfer()
{
    follow_ = Follow::Running;
    setTransferControls(false);
    host_.startTimer();
}

void ProgrammingForm::setTransferControls(bool enabled)
{
    for (const int id :
        {ids::programming, ids::reading, ids::version, ids::serialNumber, ids::autoIncrement})
        controls_.setEnabled(id, enabled);
}

void ProgrammingForm::onTimer()
{
    showProgress();
}

void ProgrammingForm::busyChanged(bool busy)
{
    if (busy) {
        // Another transfer began: an end whose outcome never came (abandoned) is over.
        if (follow_ == Follow::Ended)
            follow_ = Follow::None;
        return;
    }
    if (follow_ != Follow::Running)
        return;
    // The link is free again; the outcome, if there is one, follows at once.
    follow_ = Follow::Ended;
    host_.stopTimer();
    setTransferControls(true);
}

bool ProgrammingForm::takeInEnd()
{
    if (follow_ != Follow::Ended)
        return false;
    follow_ = Follow::None;
    showProgress();
    link_.returnToIdle();
    return true;
}

void ProgrammingForm::transferEnded(LinkOutcome outcome)
{
    if (!takeInEnd())
        return;
    if (outcome == LinkOutcome::ReadOk)
        takeInReading();
    else
        takeInProgramming(outcome == LinkOutcome::ProgrammingOk);
}

void ProgrammingForm::versionReceived()
{
    if (takeInEnd())
        takeInReading();
}

void ProgrammingForm::showProgress()
{
    // The radio tools never divide by a channel count of 0: it becomes 1 in the image.
    if (image_.storedChannelCount() == 0)
        image_.setChannelCount(1);
    controls_.setProgress(ids::progress, link_.progressPercent() + 1, 100);
}

void ProgrammingForm::takeInReading()
{
    if (versionShown())
        controls_.setText(ids::versionText, std::to_string(link_.versionWord() >> 4));
    // The serial number just read from the radio; the field parses it back into the image.
    // Without "Auto Increment S/N" it is the number for the next radio, as if typed; with it,
    // the next programming still takes the profile's number, so a radio that was only read
    // never rolls the numbering back.
    showSerial(serialNumber());
    keepOnClose_ = !autoIncrement();
}

void ProgrammingForm::takeInProgramming(bool succeeded)
{
    if (reservation_) {
        // The number taken is used up either way: it may already sit in the radio. The field
        // shows the number the next programming will take.
        reservation_.reset();
        showSerial(host_.storedSerialNumber());
    } else if (succeeded) {
        showSerial(serialNumber());
    }
}

FormEnd ProgrammingForm::onClose(CloseRoute route)
{
    // A transfer still running goes on under the main window; its end state stays for it.
    follow_ = Follow::None;
    host_.stopTimer();
    // Every way out keeps a number the user gave for the next radio. (Were Enter or Escape to
    // drop it, the serial numbers handed out since would be given out again.)
    if (keepOnClose_) {
        if (const Result stored = host_.storeSerialNumber(serialNumber()); !stored)
            host_.showMessage(stored.error);
    }
    return FormEvents::onClose(route);
}

} // namespace kq904
