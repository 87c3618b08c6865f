// Text frames: runs in several fonts, aligned paragraphs, a bulleted and a numbered list.
//   text OUT.ppt
#include <iostream>

#include <quorv/quorv.h>

using namespace Quorv;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: text OUT.ppt\n";
        return 2;
    }
    PPTDocument doc;
    doc.set_Width(720);
    doc.set_Hight(540);
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);

    // A title: one centred paragraph in a 36-point bold face.
    PPTPtr<PPTTextFrame> title(new PPTTextFrame(36, 24, 648, 60));
    title->set_ShapeNum(1); // slides draw their shapes in ascending ShapeNum
    PPTParagraphFormat centred;
    centred.SetAlignment(1);
    title->setParagraphFormat(centred, false);
    Font big;
    big.set_Size(36);
    big.set_Bold(true);
    big.set_Color(0x00663300); // 0x00BBGGRR: dark blue
    title->addText(L"Text frames", big);
    slide->addShape(title);

    // A body: paragraphs are set up with setParagraphFormat, filled with addText, closed by addPar.
    PPTPtr<PPTTextFrame> body(new PPTTextFrame(36, 100, 648, 400));
    body->set_ShapeNum(2);
    body->set_textleft(6);
    Font plain;
    plain.set_Size(24);
    Font bold = plain;
    bold.set_Bold(true);
    Font courier = plain;
    courier.set_Index(doc.get_FontNamesIndex(L"Courier New", 0)); // fonts are referred to by index

    PPTParagraphFormat normal;
    body->setParagraphFormat(normal, false);
    body->addText(L"Plain, ", plain);
    body->addText(L"bold", bold);
    body->addText(L" and ", plain);
    body->addText(L"Courier New", courier);
    body->addPar(plain);

    PPTParagraphFormat bullet;
    bullet.SetBullet(true);
    bullet.SetbTypeface(true);
    bullet.SetbuChar(5); // a tick in Wingdings
    bullet.SetbuTypeface(doc.get_FontNamesIndex(L"Wingdings", 2));
    bullet.SetLeftMargin(30);
    bullet.SetSpaceBefore(12);
    Font item = plain;
    item.set_listbuChar(1);
    body->setParagraphFormat(bullet, false);
    body->addText(L"A bulleted paragraph", item);
    body->addPar(item);

    PPTParagraphFormat numbered;
    numbered.SetBullet(true);
    numbered.SetnumBullet(1); // 1. 2. 3.
    numbered.SetLeftMargin(30);
    Font step = plain;
    step.set_listNumInfo(1);
    body->setParagraphFormat(numbered, false);
    body->addText(L"First step", step);
    body->addPar(step);
    body->setParagraphFormat(numbered, false);
    body->addText(L"Second step", step);
    slide->addShape(body);

    try {
        doc.save(std::string(argv[1]));
    } catch (const QvException& e) {
        std::cerr << "error " << e.get_Code() << ": " << e.what() << "\n";
        return 1;
    }
    std::cout << "wrote " << argv[1] << "\n";
    return 0;
}
