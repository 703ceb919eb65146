// Registering the package's marker types with the host.
#include "host/marker_types.h"

namespace tavik::host {

void MarkerTypeIds::Register(platform::ColourItems& items) {
  for (const platform::MarkerTypeDefinition& type : kMarkerTypes) items.RegisterMarkerType(type);
  for (const platform::MarkerTypeDefinition& type : kMarkerTypes)
    ids_[static_cast<size_t>(type.layer)] = items.RegisteredMarkerTypeId(type.guid);
}

}  // namespace tavik::host
