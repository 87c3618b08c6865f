// Lines, rectangles and polygons.
//   shapes OUT.ppt
#include <iostream>

#include <quorv/quorv.h>

using namespace Quorv;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: shapes OUT.ppt\n";
        return 2;
    }
    PPTDocument doc;
    doc.set_Width(720);
    doc.set_Hight(540);
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    int z = 0;

    PPTPtr<PPTLine> line(new PPTLine(40, 40, 680, 40)); // from (x1, y1) to (x2, y2)
    line->set_LineColor(0x00803319);                    // 0x00BBGGRR
    line->set_LineWidth(3);
    line->set_LineStyle(7); // long dashes
    line->set_ShapeNum(z++);
    slide->addShape(line);

    PPTPtr<PPTRectangle> box(new PPTRectangle(40, 80, 200, 120)); // left, top, width, height
    box->set_FillColor(0x00B0E0F0);
    box->set_LineColor(0x000080FF);
    box->set_ShapeNum(z++);
    slide->addShape(box);

    PPTPtr<PPTRectangle> glass(new PPTRectangle(140, 140, 200, 120));
    glass->set_FillColor(0x00F0C890);
    glass->set_ShapeOpac(50); // half transparent
    glass->set_ShapeNum(z++);
    slide->addShape(glass);

    PPTPtr<PPTPolyLine> pentagon(new PPTPolyLine(400, 80, 240, 230));
    const float points[5][2] = {{520, 80}, {640, 167}, {594, 310}, {446, 310}, {400, 167}};
    for (const auto& xy : points) {
        _Tpoint p{xy[0], xy[1]};
        pentagon->addPoint(p);
    }
    pentagon->set_PolyFlag(true); // closed
    pentagon->set_FillColor(0x0050B040);
    pentagon->set_ShapeNum(z++);
    slide->addShape(pentagon);

    try {
        doc.save(std::string(argv[1]));
    } catch (const QvException& e) {
        std::cerr << "error " << e.get_Code() << ": " << e.what() << "\n";
        return 1;
    }
    std::cout << "wrote " << argv[1] << "\n";
    return 0;
}
