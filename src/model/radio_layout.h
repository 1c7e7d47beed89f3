#pragma once
// The byte map of every block of the radio image, one layout per block, in byte order.
// Field{byte, lowest bit, width}; Bit{byte, bit}; ByteRange{offset, length};
// LittleEndian{offset, length}. Multi-byte integers are little-endian. Each position belongs to
// the block whose layout declares it (bitfield.h).

#include "bitfield.h"

namespace kq904 {

// One channel's synthesizer settings and options: receive half in bytes 0-3, transmit half in
// bytes 4-7, options in byte 8. EEPROM: channel n at 0x0043 + 12 n.
struct ChannelRecord : BlockLayout<ChannelRecord> {
    static constexpr std::size_t size = 9;
    // Receive half.
    static constexpr Field rxSwallow{0, 1, 7}; // swallow count A; bit 0 always 0
    static constexpr Field rxProgramLow{1, 0, 8};
    static constexpr Field rxProgramHigh{2, 0, 3}; // program count bits 10-8
    static constexpr Bit rxWide{2, 3}; // 1 = wide, 0 = narrow
    static constexpr Bit monitorByCarrier{2, 4};
    static constexpr Bit rxToneIsDcs{2, 5};
    static constexpr Bit rxToneIsCtcss{2, 6};
    static constexpr Bit rxStepIs5k{2, 7}; // 1 = 5000 Hz, 0 = 6250 Hz
    static constexpr Field rxTone{3, 0, 7}; // CTCSS 0-51 or DCS 0-83
    static constexpr Bit busyLockRbclo{3, 7};
    // Transmit half.
    static constexpr Field txSwallow{4, 1, 7};
    static constexpr Field txProgramLow{5, 0, 8};
    static constexpr Field txProgramHigh{6, 0, 3};
    static constexpr Bit txNarrow{6, 3}; // the opposite sense of rxWide: 1 = narrow
    static constexpr Bit crystalShiftOff{6, 4};
    static constexpr Bit txToneIsDcs{6, 5};
    static constexpr Bit txToneIsCtcss{6, 6};
    static constexpr Bit txStepIs5k{6, 7};
    static constexpr Field txTone{7, 0, 7};
    static constexpr Bit busyLockRbtlo{7, 7};
    // Options.
    static constexpr Field timeOut{8, 0, 3}; // 0 off, 1-5 = 30..180 s, 7 transmit disabled
    static constexpr Bit scan{8, 3};
    static constexpr Bit busyLockBtlo{8, 4};
    static constexpr Bit busyLockBclo{8, 5};
    static constexpr Bit highPower{8, 6};
    static constexpr Bit txInBand{8, 7}; // recomputed when the channel is programmed

    // Byte offsets of the two synthesizer halves (swallow, program low, flags, tone).
    static constexpr std::size_t rxHalf = 0;
    static constexpr std::size_t txHalf = 4;
    static constexpr unsigned timeOutTransmitDisabled = 7;
};

// A channel's PTT code, selective calling and name. EEPROM: channel n at 0x054A + 7 n.
// Files store the 4-byte heads (bytes 0-3) of all channels before the 3-byte tails (4-6).
struct ChannelExtra : BlockLayout<ChannelExtra> {
    static constexpr std::size_t size = 7;
    static constexpr std::size_t headSize = 4;
    static constexpr std::size_t tailSize = 3;
    static constexpr Bit pttCodeEnable{0, 0};
    static constexpr Bit monitorDisable{0, 1};
    static constexpr Bit rxInBand{0, 2}; // recomputed when the channel is programmed
    static constexpr Bit selectiveCalling{0, 3};
    static constexpr Field pttDigit1{0, 4, 4};
    static constexpr Field pttDigit2{1, 0, 4};
    static constexpr Field pttDigit3{1, 4, 4};
    static constexpr ByteRange name{2, 5}; // 'A'-'Z', '0'-'9'; NUL ends it from position 1
    static constexpr ByteRange tag{2, 2}; // the two-letter tag when names are off
};

// Radio-wide settings. EEPROM 0x0008-0x001F.
struct GeneralSettings : BlockLayout<GeneralSettings> {
    static constexpr std::size_t size = 24;
    static constexpr ByteRange refCounter6250{0, 3}; // from FactorySettings bytes 4-6
    static constexpr Field channelCount{3, 0, 8}; // 1-99
    static constexpr ByteRange refCounter5000{4, 3}; // from FactorySettings bytes 8-10
    static constexpr Bit prescalerFlag{5, 7}; // 1 = modulus 64, 0 = modulus 128
    static constexpr Bit toneSettingByUser{7, 0};
    static constexpr Bit dcsTxInverted{7, 1};
    static constexpr Bit dcsRxInverted{7, 2};
    static constexpr Bit dtmfVersion{7, 3};
    static constexpr Field powerDelay{7, 4, 3};
    static constexpr Bit powerSave{7, 7};
    static constexpr ByteRange fixedBytes{8, 4}; // always 0, 3, 3, 0
    static constexpr Field priorityChannel{12, 0, 8}; // 0-based
    static constexpr Bit keyBeep{13, 0};
    static constexpr Bit keysLocked{13, 1};
    static constexpr Bit priorityMode{13, 2};
    static constexpr Bit userKeyUpDown{14, 0}; // keys usable under keypad lock with user access
    static constexpr Bit userKeyMode{14, 1};
    static constexpr Bit userKeyScan{14, 2};
    static constexpr Bit userKeyEnt{14, 3};
    static constexpr Bit aniOnRelease{14, 4}; // 1 = ANI sent on PTT release, 0 = on press
    static constexpr Bit pttAniTransmit{14, 5};
    static constexpr Bit homeChannelDisabled{14, 6};
    static constexpr Bit shuntingRadio{14, 7};
    static constexpr Bit powerOnPassword{15, 0};
    static constexpr Bit prioritySettingByUser{15, 1};
    static constexpr Bit batteryLowWarning{15, 4};
    static constexpr Field unitIdDigit1{16, 0, 4};
    static constexpr Field unitIdDigit2{16, 4, 4};
    static constexpr Field unitIdDigit3{17, 0, 4};
    static constexpr Bit dtmfReceiveAnyTime{17, 4};
    static constexpr Field pttIdDelay{17, 5, 2};
    static constexpr Bit priorityFunctionDisabled{17, 7};
    static constexpr ByteRange welcomeGreeting{18, 5}; // 'A'-'Z', '0'-'9', '-', space
    static constexpr Field powerSaveRatio{23, 0, 2}; // 0 = 1:1 ... 3 = 1:4
    static constexpr Bit fiveCharacterNames{23, 2};
    static constexpr Bit keypadLockUserAccess{23, 3};
    static constexpr Field dtmfOnOffTime{23, 4, 2};
    static constexpr Bit keypadLockNoUserAccess{23, 6};
    static constexpr Bit killFeature{23, 7};
};

// Code functions. EEPROM 0x0500; only bytes 0-13 are transferred.
struct CodeSettings : BlockLayout<CodeSettings> {
    static constexpr std::size_t size = 16;
    static constexpr std::size_t transferred = 14;
    static constexpr Field subGroupDigit1{0, 0, 4};
    static constexpr Field subGroupDigit2{0, 4, 4};
    static constexpr Field subGroupDigit3{1, 0, 4};
    static constexpr Field subGroupDigit4{1, 4, 4};
    static constexpr Field subGroupDigit5{2, 0, 4};
    static constexpr Field allGroupDigit5{2, 4, 4};
    static constexpr Field unitIdDigit4{3, 0, 4};
    static constexpr Field unitIdDigit5{3, 4, 4};
    static constexpr Field allGroupDigit1{5, 0, 4};
    static constexpr Field allGroupDigit2{5, 4, 4};
    static constexpr Field allGroupDigit3{6, 0, 4};
    static constexpr Field allGroupDigit4{6, 4, 4};
    static constexpr Bit emergencyCode{7, 0};
    static constexpr Field talkingTime{7, 1, 3}; // 0 = 30 s ... 3 = 240 s, 4-7 = 360 s
    static constexpr Field aniShowTime{7, 4, 3}; // 0 off, 1 = 5 s, 2 = 15 s, 3-7 = 30 s
    static constexpr Bit siren{7, 7};
    static constexpr Field homeChannel{8, 0, 8}; // 0-based
    static constexpr ByteRange emergencyDigits{9, 5}; // one digit 0-9 per byte
};

// The five-digit identities are spread over two blocks, one digit per nibble.
struct Identities {
    // Unit ID: GeneralSettings digits 1-3, CodeSettings digits 4-5.
    static constexpr GeneralSettings::Field unitIdGeneral[3] = {GeneralSettings::unitIdDigit1,
        GeneralSettings::unitIdDigit2, GeneralSettings::unitIdDigit3};
    static constexpr CodeSettings::Field unitIdCode[2] = {
        CodeSettings::unitIdDigit4, CodeSettings::unitIdDigit5};
    // All Group ID ("Priority ID" in the listing), digits 1-5.
    static constexpr CodeSettings::Field allGroup[5] = {CodeSettings::allGroupDigit1,
        CodeSettings::allGroupDigit2, CodeSettings::allGroupDigit3, CodeSettings::allGroupDigit4,
        CodeSettings::allGroupDigit5};
    // Sub Group ID ("Group ID" in the listing), digits 1-5.
    static constexpr CodeSettings::Field subGroup[5] = {CodeSettings::subGroupDigit1,
        CodeSettings::subGroupDigit2, CodeSettings::subGroupDigit3, CodeSettings::subGroupDigit4,
        CodeSettings::subGroupDigit5};
};

// Serial number and power-on password. EEPROM 0x0514.
struct IdSettings : BlockLayout<IdSettings> {
    static constexpr std::size_t size = 8;
    static constexpr LittleEndian serialNumber{0, 4}; // 0-9 999 999
    static constexpr ByteRange password{4, 4}; // one digit 0-9 per byte
};

// Kill and revive. EEPROM 0x04EE; written, never read.
struct KillSettings : BlockLayout<KillSettings> {
    static constexpr std::size_t size = 17;
    static constexpr Field marker{0, 0, 8}; // set to 0xCF just before the block is sent
    static constexpr std::uint8_t markerValue = 0xCF;
    static constexpr ByteRange killId{1, 5}; // ten digits, two per byte, high nibble first
    static constexpr ByteRange reviveId{9, 5}; // same packing
    static constexpr Bit reviveByAir{16, 0};
};

// Factory alignment. Not an EEPROM block: reaches the radio through IfCounters and through the
// copies into GeneralSettings made when the factory form is confirmed.
struct FactorySettings : BlockLayout<FactorySettings> {
    static constexpr std::size_t size = 40;
    static constexpr LittleEndian intermediateFrequency{0, 4}; // Hz
    static constexpr LittleEndian refCounter6250{4, 4};
    static constexpr LittleEndian refCounter5000{8, 4}; // bit 15 becomes the prescalerFlag
    static constexpr Bit oscillatorAbove{12, 0}; // "UP": receive = oscillator - IF
    static constexpr Bit dcsTxInverted{12, 1};
    static constexpr Bit dcsRxInverted{12, 2};
    static constexpr LittleEndian band1Low{16, 4};
    static constexpr LittleEndian band1High{20, 4};
    static constexpr LittleEndian band2Low{24, 4};
    static constexpr LittleEndian band2High{28, 4};
    static constexpr ByteRange versionText{32, 5}; // kProgramVersion and NUL, on every save
};

// The IF as synthesizer values for each step; computed when programming. EEPROM 0x0034.
struct IfCounters : BlockLayout<IfCounters> {
    static constexpr std::size_t size = 8;
    static constexpr Field swallow5000{0, 0, 8};
    static constexpr LittleEndian program5000{1, 2};
    static constexpr Field oscillatorAbove{3, 0, 8};
    static constexpr Field swallow6250{4, 0, 8};
    static constexpr LittleEndian program6250{5, 2};
};

// Optional functions, set once at start-up from the feature-flag file.
struct FeatureFlags {
    static constexpr std::uint16_t aniVersion = 0x0001;
    static constexpr std::uint16_t channelName = 0x0002;
    static constexpr std::uint16_t versionShow = 0x0010;
    static constexpr std::uint16_t powerDelaySetting = 0x0040;
    static constexpr std::uint16_t powerOnPassword = 0x0080;
    static constexpr std::uint16_t shuntingRadio = 0x0100;
};

// EEPROM addresses the link writes and reads.
struct EepromMap {
    static constexpr std::uint16_t generalSettings = 0x0008;
    static constexpr std::uint16_t constantBlock = 0x0020;
    static constexpr std::uint16_t ifCounters = 0x0034;
    static constexpr std::uint16_t killSettings = 0x04EE;
    static constexpr std::uint16_t codeSettings = 0x0500;
    static constexpr std::uint16_t idSettings = 0x0514;
    static constexpr std::uint16_t size = 2048;
    // Channel records lie 12 bytes apart, of which the 9 of a record are written; the extras
    // follow each other without a gap.
    static constexpr std::uint16_t firstChannelRecord = 0x0043;
    static constexpr std::uint16_t channelRecordPitch = 12;
    static constexpr std::uint16_t firstChannelExtra = 0x054A;
    static constexpr std::uint16_t channelExtraPitch = ChannelExtra::size;
    static constexpr std::uint16_t channelRecord(int n)
    {
        return static_cast<std::uint16_t>(firstChannelRecord + channelRecordPitch * n);
    }
    static constexpr std::uint16_t channelExtra(int n)
    {
        return static_cast<std::uint16_t>(firstChannelExtra + channelExtraPitch * n);
    }
};

} // namespace kq904
