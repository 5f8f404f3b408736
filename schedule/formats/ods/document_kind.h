// What kind of document an OpenDocument archive is: a spreadsheet to read, one protected by a
// password, or a document of another kind.
#pragma once

#include <string>

#include "schedule/formats/package/archive.h"

namespace kelvo::schedule {

// Why an archive that holds a content part is still no spreadsheet to read: protected by a
// password, or a document of another kind (its media type); empty when it is one.
std::string RefusedDocument(Archive archive);

}  // namespace kelvo::schedule
