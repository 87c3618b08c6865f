// The "Current User" stream ([MS-PPT] 2.3.2 CurrentUserAtom): where the last user edit of the
// "PowerPoint Document" stream begins.
#pragma once

#include <cstdint>

#include "core/output_stream.h"

namespace Quorv {

// The user name written into the Current User stream and the last-author property.
extern const wchar_t* const kProductUserName;

// Writes the stream; returns the number of bytes written.
int writeCurrentUser(QvOutputStream& s, std::uint32_t offsetToCurrentEdit, bool encryptToken);

} // namespace Quorv
