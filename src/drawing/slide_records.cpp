#include "drawing/slide_records.h"

#include "core/record.h"
#include "drawing/common_records.h"
#include "drawing/officeart_records.h"

namespace Quorv {

namespace {

// Every slide's drawing has drawing id 2; its group shape is spid 0x800, its background 0x801.
constexpr std::uint16_t kSlideDrawingId = 2;
constexpr std::uint32_t kGroupSpid = 0x800;
constexpr std::uint32_t kBackgroundSpid = 0x801;

void writeSlideAtom(QvOutputStream& s) {
    writeRecord(s, atom(RecordType::SlideAtom, 2), [](QvOutputStream& o) {
        o.writeU32(0x00000000); // geom: SL_TitleSlide
        // rgPlaceholderTypes: PT_CenterTitle, PT_SubTitle, then none.
        const std::uint8_t placeholders[8] = {0x0F, 0x10, 0, 0, 0, 0, 0, 0};
        o.writeBytes(placeholders, sizeof placeholders);
        o.writeU32(kMainMasterId); // masterIdRef
        o.writeU32(0);             // notesIdRef: no notes slide
        o.writeU16(0x0007);        // slideFlags: fMasterObjects, fMasterScheme, fMasterBackground
        o.writeU16(0x300C);        // unused
    });
}

void writeDrawingAtom(QvOutputStream& s) {
    writeRecord(s, atom(RecordType::OfficeArtFDG, 0, kSlideDrawingId), [](QvOutputStream& o) {
        o.writeU32(2);     // csp
        o.writeU32(0x804); // spidCur
    });
}

} // namespace

void writeSlideRecord(QvOutputStream& s, const std::vector<PPTPtr<PPTShape>>& shapes) {
    writeRecord(s, container(RecordType::Slide), [&](QvOutputStream& slide) {
        writeSlideAtom(slide);
        writeRecord(slide, container(RecordType::Drawing), [&](QvOutputStream& drawing) {
            writeRecord(drawing, container(RecordType::OfficeArtDgContainer), [&](QvOutputStream& dg) {
                writeDrawingAtom(dg);
                writeRecord(dg, container(RecordType::OfficeArtSpgrContainer), [&](QvOutputStream& group) {
                    officeart::writeShape(group, patriarchShape(kGroupSpid, 0));
                    for (const auto& shape : shapes) shape->output(group, false);
                });
                // The background shape is the drawing's own (OfficeArtDgContainer.shape), after the
                // group, as in the master; inside the group readers would take it for a shape.
                officeart::writeShape(dg, backgroundShape(kBackgroundSpid, 0x00080000)); // fUsefLine set, fLine clear
            });
        });
        writeColorScheme(slide, 1, kDefaultColorScheme);
        writePpt10Tags(slide);
    });
}

} // namespace Quorv
