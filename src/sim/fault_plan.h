#pragma once
// Faults the simulated radio can be told to commit, so every way a real radio or cable lets the
// program down can be reproduced: a fault picked for given frame numbers, or at random with a
// seed (the same seed gives the same faults on the same frames), and silence from a frame on.
// Frames are numbered from 1 in the order the radio receives them, corrupted ones included.

#include <cstdint>
#include <map>
#include <random>
#include <string_view>
#include <utility>
#include <vector>

namespace kq904 {

enum class FaultKind {
    NoAnswer, // the frame is carried out but its reply is lost
    CorruptChecksum, // the reply leaves with a wrong checksum
    NegativeAck, // "0" instead of "1": the radio refuses a write or "D" (nothing written)
    ShortReadReply, // a read reply carries fewer data bytes than were asked for
    NoiseBeforeReply, // line noise ahead of the reply
    DelayedReply, // the reply leaves late
    TwoInsteadOfVersion, // "2" instead of the "f" version reply
};

inline constexpr FaultKind kAllFaultKinds[] = {FaultKind::NoAnswer, FaultKind::CorruptChecksum,
    FaultKind::NegativeAck, FaultKind::ShortReadReply, FaultKind::NoiseBeforeReply,
    FaultKind::DelayedReply, FaultKind::TwoInsteadOfVersion};

// "no-answer", "corrupt-checksum", ... as the simulator's command line and log spell them.
std::string_view faultName(FaultKind kind);
bool parseFaultName(std::string_view name, FaultKind& kind);

class FaultPlan {
public:
    // How much a short read reply lacks, how long a delayed reply waits, what noise looks like.
    struct Settings {
        int shortBy = 1; // data bytes missing
        std::int64_t delayMs = 1000;
        std::vector<std::uint8_t> noise = defaultNoise();

        static std::vector<std::uint8_t> defaultNoise();
    };

    FaultPlan() = default;
    explicit FaultPlan(Settings settings)
        : settings_(std::move(settings))
    { }

    // Commit `kind` on frame `frameNumber` (several kinds may apply to one frame).
    FaultPlan& at(int frameNumber, FaultKind kind);
    // Commit `kind` on each frame with the given probability (0-1), drawn from `seed`.
    FaultPlan& atRandom(FaultKind kind, double probability, std::uint32_t seed);
    // No reply at all from frame `frameNumber` on.
    FaultPlan& silenceFrom(int frameNumber);

    const Settings& settings() const { return settings_; }
    bool silentAt(int frameNumber) const;
    // The faults to commit on this frame. Call once per frame, in frame order: the random
    // choices advance with each call.
    std::vector<FaultKind> faultsFor(int frameNumber);

private:
    struct RandomFault {
        FaultKind kind;
        std::uint32_t threshold; // commit when a draw is below it
        std::mt19937 generator;
    };

    Settings settings_;
    std::multimap<int, FaultKind> planned_;
    std::vector<RandomFault> random_;
    int silenceFrom_ = 0; // 0: never
};

} // namespace kq904
