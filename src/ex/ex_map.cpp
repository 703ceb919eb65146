// The map, noremap and unmap families typed on a view's command line: they change the engine's
// one mapping list and report in its message line.
#include "config/map_commands.h"
#include "engine/view_engine.h"
#include "ex/ex_commands.h"

namespace tavik::ex_commands {

template <size_t kRow>
void Map(ExContext& context, std::u16string_view argument, bool bang) {
  static_assert(kRow < kMapCommands.size());
  std::u16string message =
      RunMapCommand(kMapCommands[kRow], argument, bang, context.engine.Mappings());
  if (!message.empty()) context.Message(message);
}

template void Map<0>(ExContext&, std::u16string_view, bool);
template void Map<1>(ExContext&, std::u16string_view, bool);
template void Map<2>(ExContext&, std::u16string_view, bool);
template void Map<3>(ExContext&, std::u16string_view, bool);
template void Map<4>(ExContext&, std::u16string_view, bool);
template void Map<5>(ExContext&, std::u16string_view, bool);
template void Map<6>(ExContext&, std::u16string_view, bool);
template void Map<7>(ExContext&, std::u16string_view, bool);
template void Map<8>(ExContext&, std::u16string_view, bool);
template void Map<9>(ExContext&, std::u16string_view, bool);
template void Map<10>(ExContext&, std::u16string_view, bool);
template void Map<11>(ExContext&, std::u16string_view, bool);
template void Map<12>(ExContext&, std::u16string_view, bool);
template void Map<13>(ExContext&, std::u16string_view, bool);
template void Map<14>(ExContext&, std::u16string_view, bool);
template void Map<15>(ExContext&, std::u16string_view, bool);
template void Map<16>(ExContext&, std::u16string_view, bool);
template void Map<17>(ExContext&, std::u16string_view, bool);
template void Map<18>(ExContext&, std::u16string_view, bool);
template void Map<19>(ExContext&, std::u16string_view, bool);
template void Map<20>(ExContext&, std::u16string_view, bool);

}  // namespace tavik::ex_commands
