#include "document/current_user.h"

#include <string>

#include "core/record.h"
#include "core/text_encoding.h"

namespace Quorv {

const wchar_t* const kProductUserName = L"Korvelantaris Quorvantexis";

int writeCurrentUser(QvOutputStream& s, std::uint32_t offsetToCurrentEdit, bool encryptToken) {
    const std::size_t start = s.position();
    const std::wstring name = kProductUserName;
    const std::string ansiName = toCodePage932(name);
    writeRecord(s, atom(RecordType::CurrentUserAtom), [&](QvOutputStream& o) {
        o.writeU32(0x14);                                    // size
        o.writeU32(encryptToken ? 0xF3D1C4DF : 0xE391C05F); // headerToken
        o.writeU32(offsetToCurrentEdit);
        o.writeU16(static_cast<std::uint16_t>(ansiName.size())); // lenUserName
        o.writeU16(0x03F4);                                      // docFileVersion
        o.writeByte(3);                                          // majorVersion
        o.writeByte(0);                                          // minorVersion
        o.writeU16(0);                                           // unused
        o.writeBytes(ansiName.data(), 0, ansiName.size());
        o.writeU32(8); // relVersion
    });
    // The Unicode name follows the record and is not counted in its length.
    s.writeBytes(toUtf16Bytes(name));
    return static_cast<int>(s.position() - start);
}

} // namespace Quorv
