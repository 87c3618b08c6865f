#include "picture/picture_store.h"

#include "core/record.h"

namespace Quorv {
namespace picture {

void writeStoreEntry(QvOutputStream& s, const StoreEntry& entry) {
    const bool empty = entry.kind == BlipKind::None;
    const BlipKindInfo& info = blipKindInfo(entry.kind);
    writeRecord(s, atom(RecordType::OfficeArtFBSE, 2, info.btWin32), [&](QvOutputStream& o) {
        o.writeByte(info.btWin32);
        o.writeByte(info.btMacOS);
        if (empty) o.writeZeros(entry.id.size());
        else o.writeBytes(entry.id.data(), entry.id.size());
        o.writeU16(0x00FF);                                  // tag
        o.writeU32(empty ? 0 : entry.size);                  // size
        o.writeU32(empty ? 0 : 1);                           // cRef: one shape shows the picture
        o.writeU32(empty ? 0 : entry.offset);                // foDelay
        o.writeByte(0);                                      // unused1
        o.writeByte(0);                                      // cbName: no name follows
        o.writeByte(0);                                      // unused2
        o.writeByte(0);                                      // unused3
    });
}

} // namespace picture
} // namespace Quorv
