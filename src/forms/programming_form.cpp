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

void ProgrammingForm::open()
{
    if (!versionShown()) {
        controls_.setShown(ids::version, false);
        controls_.setShown(ids::versionText, false);
    }
    // Filling the field is a change like any other: the serial number in the image becomes the
    // one of the profile (a stored number of eight digits shows "?" and so becomes 0).
    controls_.setText(ids::serialNumber, serialNumberText(host_.storedSerialNumber()));
    controls_.setChecked(ids::autoIncrement, host_.storedAutoIncrement());
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
    serialChanged_ = true;
}

void ProgrammingForm::onClicked(int id)
{
    switch (id) {
    case ids::programming:
        if (start(&Link::startProgramming)) {
            controls_.setProgress(ids::progress, 1, 100);
            host_.startTimer();
        }
        break;
    case ids::reading:
        // The serial number about to be read is the one to keep, even if the port fails now.
        serialChanged_ = true;
        if (start(&Link::startReading)) {
            controls_.setProgress(ids::progress, 1, 100);
            host_.startTimer();
        }
        break;
    case ids::version:
        if (start(&Link::requestVersion)) {
            controls_.setProgress(ids::progress, 0, 100);
            host_.startTimer();
        }
        break;
    case ids::autoIncrement:
        host_.storeAutoIncrement(controls_.checked(ids::autoIncrement));
        break;
    default:
        break;
    }
}

bool ProgrammingForm::start(Result (Link::*startSequence)())
{
    if (!(link_.*startSequence)()) {
        host_.showMessage(kComPortFail);
        return false;
    }
    return true;
}

void ProgrammingForm::onTimer()
{
    showProgress();
    switch (link_.linkState()) {
    case LinkStates::readDone:
        link_.returnToIdle();
        takeInReading();
        break;
    case LinkStates::programmed:
        link_.returnToIdle();
        takeInProgramming();
        break;
    case LinkStates::failed:
        link_.returnToIdle();
        host_.stopTimer();
        break;
    case LinkStates::idle:
        host_.stopTimer();
        break;
    default:
        break; // a transfer is running
    }
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
    controls_.setText(ids::serialNumber, serialNumberText(serialNumber()));
}

void ProgrammingForm::takeInProgramming()
{
    if (controls_.checked(ids::autoIncrement)) {
        const std::uint32_t serial = serialNumber();
        setSerialNumber(serial >= kMaxSerialNumber ? 0 : serial + 1);
    }
    controls_.setText(ids::serialNumber, serialNumberText(serialNumber()));
}

FormEnd ProgrammingForm::onClose(CloseRoute route)
{
    host_.stopTimer();
    // Every way out keeps the serial number for the next radio. (Were Enter or Escape to drop
    // it, the serial numbers handed out since the form opened would be given out again.)
    if (serialChanged_)
        host_.storeSerialNumber(serialNumber());
    return FormEvents::onClose(route);
}

} // namespace kq904
