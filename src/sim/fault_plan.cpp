#include "fault_plan.h"

#include <algorithm>
#include <cstdint>

namespace kq904 {

namespace {

struct NamedFault {
    FaultKind kind;
    std::string_view name;
};

constexpr NamedFault kNames[] = {
    {FaultKind::NoAnswer, "no-answer"},
    {FaultKind::CorruptChecksum, "corrupt-checksum"},
    {FaultKind::NegativeAck, "negative-ack"},
    {FaultKind::ShortReadReply, "short-read"},
    {FaultKind::NoiseBeforeReply, "noise"},
    {FaultKind::DelayedReply, "delay"},
    {FaultKind::TwoInsteadOfVersion, "two-for-version"},
};

} // namespace

std::string_view faultName(FaultKind kind)
{
    for (const auto& n : kNames)
        if (n.kind == kind)
            return n.name;
    return {};
}

bool parseFaultName(std::string_view name, FaultKind& kind)
{
    for (const auto& n : kNames) {
        if (n.name == name) {
            kind = n.kind;
            return true;
        }
    }
    return false;
}

std::vector<std::uint8_t> FaultPlan::Settings::defaultNoise()
{
    // Two '<' and then a byte that breaks the preamble: the receiver must start its search
    // again and still find the real frame behind the noise.
    return {0x00, 0x3C, 0x3C, 0xA5, 0xFF};
}

FaultPlan& FaultPlan::at(int frameNumber, FaultKind kind)
{
    planned_.emplace(frameNumber, kind);
    return *this;
}

FaultPlan& FaultPlan::atRandom(FaultKind kind, double probability, std::uint32_t seed)
{
    // Draws are compared as integers so the same seed gives the same frames with any standard
    // library (the standard fixes the generator's output, not that of its distributions).
    const double p = std::clamp(probability, 0.0, 1.0);
    const auto threshold = static_cast<std::uint32_t>(std::min(p * 4294967296.0, 4294967295.0));
    random_.push_back({kind, threshold, std::mt19937(seed)});
    return *this;
}

FaultPlan& FaultPlan::silenceFrom(int frameNumber)
{
    silenceFrom_ = frameNumber;
    return *this;
}

bool FaultPlan::silentAt(int frameNumber) const
{
    return silenceFrom_ > 0 && frameNumber >= silenceFrom_;
}

std::vector<FaultKind> FaultPlan::faultsFor(int frameNumber)
{
    std::vector<FaultKind> faults;
    const auto [first, last] = planned_.equal_range(frameNumber);
    for (auto it = first; it != last; ++it)
        faults.push_back(it->second);
    for (auto& r : random_) {
        const std::uint32_t draw = static_cast<std::uint32_t>(r.generator());
        if (draw < r.threshold || r.threshold == UINT32_MAX)
            faults.push_back(r.kind);
    }
    return faults;
}

} // namespace kq904
