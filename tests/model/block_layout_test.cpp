// A position of the byte map belongs to its block: reading or writing it on another block does
// not compile (a channel's field on the 8-byte IdSettings would reach past its end).
#include "model/radio_image.h"

namespace kq904 {
namespace {

template <typename Block, typename Position>
concept Reads = requires(const Block& block, Position position)
{
    block.get(position);
};
template <typename Block, typename Position>
concept Writes = requires(Block& block, Position position)
{
    block.set(position, 1);
};
template <typename Block, typename Range>
concept Spans = requires(const Block& block, Range range)
{
    block.range(range);
};

static_assert(Reads<Block<IdSettings>, decltype(IdSettings::serialNumber)>);
static_assert(!Reads<Block<IdSettings>, decltype(ChannelRecord::rxSwallow)>);
static_assert(!Reads<Block<IdSettings>, decltype(ChannelRecord::highPower)>);
static_assert(!Reads<Block<IdSettings>, decltype(FactorySettings::band2High)>);
static_assert(Writes<Block<GeneralSettings>, decltype(GeneralSettings::unitIdDigit1)>);
static_assert(!Writes<Block<GeneralSettings>, decltype(CodeSettings::unitIdDigit4)>);
static_assert(Spans<Block<ChannelExtra>, decltype(ChannelExtra::name)>);
static_assert(!Spans<Block<KillSettings>, decltype(ChannelExtra::name)>);

} // namespace
} // namespace kq904
