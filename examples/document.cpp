// A document with properties, saved three ways: to a file, to a std::ostream and into memory.
//   document OUT.ppt
#include <fstream>
#include <iostream>
#include <vector>

#include <quorv/quorv.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: document OUT.ppt\n";
        return 2;
    }
    Quorv::PPTDocument doc;
    doc.set_Width(960); // a 16:9 slide, 13.33 x 7.5 inches, in points
    doc.set_Hight(540);
    for (int i = 0; i < 3; ++i) doc.addSlides(960, 540);

    Quorv::PPTProperties props; // the host owns it; it must outlive the saves
    props.set_Title(L"Three empty slides");
    props.set_Subject(L"Saving");
    props.set_Author(L"quorv examples");
    props.set_Company(L"Example Ltd");
    props.set_Keyword(L"example");
    doc.setProperties(&props, false);

    try {
        doc.save(std::string(argv[1])); // atomic: the file is replaced once complete and on disk

        std::ofstream copy(std::string(argv[1]) + ".stream", std::ios::binary);
        doc.save(copy); // the same presentation into any std::ostream

        std::vector<unsigned char> bytes = doc.saveToMemory(); // or into memory
        std::cout << "wrote " << argv[1] << " (" << bytes.size() << " bytes)\n";
    } catch (const Quorv::QvException& e) {
        std::cerr << "error " << e.get_Code() << ": " << e.what() << " " << e.get_SystemError() << "\n";
        return 1;
    }
    return 0;
}
