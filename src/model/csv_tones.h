#pragma once
// Sub-tones in the channel-list CSV. The radio keeps one sub-tone per direction (none, a CTCSS
// tone or a DCS code from its tables); the CSV describes them as a tone mode ("", "Tone",
// "TSQL", "DTCS", "Cross") with the columns rToneFreq, cToneFreq, DtcsCode, RxDtcsCode and
// CrossMode. These functions translate between the two, both ways.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frequency.h"
#include "radio_image.h"

namespace kq904 {

enum class SubToneKind { None, Ctcss, Dcs };

struct SubTone {
    SubToneKind kind = SubToneKind::None;
    unsigned index = 0; // into the CTCSS or DCS table
    bool operator==(const SubTone&) const = default;
};

// The sub-tone a channel half holds, as stored (CTCSS wins when both kind bits are set); the
// index may be the user-set entry or lie past the table in damaged data.
SubTone storedSubTone(const RadioImage& image, int channel, Half half);
// Sets the half's kind bits and tone index; the busy lock-out bit sharing the tone byte stays.
void storeSubTone(RadioImage& image, int channel, Half half, SubTone tone);

// "67.0", "88.5": a CTCSS tone of the table as the CSV writes it. Entry 38, labelled "69.4" in
// the radio's table, is the standard 69.3 Hz tone and is written so other programs know it.
std::string csvCtcssText(unsigned index);
// "023": a DCS code of the table.
std::string csvDcsText(unsigned index);
// Whether CHIRP's tone list (the 50 standard tones and ten below 67 Hz) holds the table's tone.
// CHIRP reads rToneFreq and cToneFreq of every row, whatever its tone mode, and leaves out a row
// with a tone it does not know without a word; the radio's 150.0 Hz is one.
bool chirpKnowsCtcssTone(unsigned index);
// The table index of a tone or code as written in a CSV file ("88.5", "88.50", "69.4" or
// "69.3"; "23" or "023"); nothing for the user-set entry or a value not in the tables.
std::optional<unsigned> findCtcssTone(std::string_view text);
std::optional<unsigned> findDcsCode(std::string_view text);

// The tone columns of one CSV row. Unused columns hold the values other programs write for
// them (88.5, 023, "Tone->Tone").
struct CsvToneColumns {
    std::string tone; // "", "Tone", "TSQL", "DTCS" or "Cross"
    std::string rToneFreq = "88.5";
    std::string cToneFreq = "88.5";
    std::string dtcsCode = "023";
    std::string rxDtcsCode = "023";
    std::string crossMode = "Tone->Tone";
};

// The columns for a transmit and a receive sub-tone. Both must be None or table entries other
// than the user-set one.
CsvToneColumns csvToneColumns(SubTone transmit, SubTone receive);

struct CsvTonesRead {
    SubTone transmit;
    SubTone receive;
    std::vector<std::string> problems; // each a value that was not taken, and what became of it
};

// The sub-tones a row's tone columns describe. Columns missing from the file are passed as
// nothing: without RxDtcsCode (older files) the receive DCS code is DtcsCode; without CrossMode
// a "Cross" row is "Tone->Tone", as CHIRP reads it, and that assumption is reported. A tone or
// code not in the radio's tables, or a tone mode the radio does not have, leaves that direction
// without a sub-tone and is reported.
struct CsvToneInput {
    std::string_view tone;
    std::string_view rToneFreq;
    std::string_view cToneFreq;
    std::string_view dtcsCode;
    std::optional<std::string_view> rxDtcsCode;
    std::optional<std::string_view> crossMode;
};
CsvTonesRead readCsvTones(const CsvToneInput& input);

} // namespace kq904
