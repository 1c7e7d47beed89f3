// kq904-cli program: writes the start-up image (and a set file) into a radio.

#include <charconv>
#include <fstream>
#include <ostream>

#include "cli/commands.h"
#include "cli/transfer_session.h"
#include "link/profile_settings.h"
#include "link/serial_numbers.h"

namespace kq904::cli {

namespace {

// The serial number as the Programming form takes it: seven decimal digits at most.
bool parseSerial(const std::string& text, std::uint32_t& serial)
{
    if (text.empty() || text.size() > 7)
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), serial);
    return ec == std::errc() && end == text.data() + text.size() && serial <= kMaxSerialNumber;
}

} // namespace

int runProgramCommand(const ParsedArguments& parsed, CommandStreams streams)
{
    std::uint32_t serial = 0;
    const std::optional<std::string> serialText = parsed.value("--serial");
    const bool serialAuto = parsed.has("--serial-auto");
    if (serialText && serialAuto)
        return usageError(streams, "--serial and --serial-auto cannot be given together");
    if (serialText && !parseSerial(*serialText, serial))
        return usageError(streams, "the serial number is 0 to 9999999, not '" + *serialText + "'");
    if (const auto status = rejectEmptyPort(parsed, streams))
        return *status;
    if (const auto status = rejectEmptyDataDir(parsed, streams))
        return *status;
    const std::optional<std::string> port = parsed.value("--port");

    const std::string* setFile = parsed.positionals.empty() ? nullptr : &parsed.positionals[0];
    std::optional<RadioImage> image = loadStartupImage(parsed, setFile, streams);
    if (!image)
        return kExitFailure;
    if (serialText)
        image->id.set(IdSettings::serialNumber, serial);

    std::ofstream traceFile;
    if (!openTraceFile(parsed, traceFile, streams))
        return kExitFailure;

    // --serial-auto: the number is taken from the profile, and the profile moved on, before the
    // radio sees a byte; a crash or a failed programming never hands it out again.
    ProfileSettings profile;
    std::optional<SerialReservation> reservation;
    if (serialAuto) {
        const SerialReservationResult taken = reserveSerialNumber(profile);
        if (!taken.result) {
            streams.err << kProgramName << ": " << taken.result.error << '\n';
            return kExitFailure;
        }
        reservation = taken.reservation;
        if (reservation->unusableStored)
            streams.err << kProgramName << ": warning: the profile's SERIAL_NUMBER "
                        << *reservation->unusableStored
                        << " has more than seven digits; counting starts again at 0\n";
        image->id.set(IdSettings::serialNumber, reservation->serial);
        streams.err << kProgramName << ": serial number " << sevenDigitSerial(reservation->serial)
                    << " (the next radio gets " << sevenDigitSerial(reservation->next) << ")\n";
    }
    // A blank radio's 0xFFFFFFFF read into a set file, for example: the radio takes it, but the
    // Programming form can only show it as "?".
    if (const std::uint32_t written = image->id.get(IdSettings::serialNumber);
        written > kMaxSerialNumber)
        streams.err << kProgramName << ": warning: serial number " << written
                    << " has more than seven digits; it is written as it is, and the Programming"
                       " form shows it as \"?\"\n";

    TransferExtras extras;
    extras.trace = traceFile.is_open() ? &traceFile : nullptr;
    extras.verify = parsed.has("--verify");
    extras.fast = parsed.has("--fast");
    const TransferReport report =
        runTransfer(*image, TransferKind::Programming, port, streams, extras);
    if (reservation && report.ending == TransferEnding::ComPortFail) {
        // Not a byte reached a radio: the number may go to the next one after all.
        if (releaseSerialNumber(profile, *reservation))
            streams.err << kProgramName << ": serial number "
                        << sevenDigitSerial(reservation->serial)
                        << " was not used and stays the next radio's\n";
    }
    streams.out << endingText(report.ending) << std::endl;
    if (report.verify)
        return printVerifyReport(*report.verify, streams);
    return exitStatus(report.ending);
}

} // namespace kq904::cli
