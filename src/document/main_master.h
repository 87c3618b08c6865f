// The main master: persist object 2, the one slide master every slide is based on
// ([MS-PPT] 2.5.3 MainMasterContainer). The same 2,560 bytes in every file.
#pragma once

#include "core/output_stream.h"

namespace Quorv {

void writeMainMaster(QvOutputStream& s);

} // namespace Quorv
