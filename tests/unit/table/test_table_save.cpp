// Tables in saved documents: sizes against the record formulas, saving twice, numbering several
// tables on a slide, failed saves, and the cost of a large table.
#include <gtest/gtest.h>


#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "drawing/shape_order.h"
#include "support/bytes.h"
#include "support/fake_shape.h"
#include "support/fixtures.h"
#include "support/records.h"
#include "support/temp_dir.h"
#include "support/verifier.h"
#include "table_helpers.h"

using namespace Quorv;
using namespace table_test;
using quorv_test::Bytes;
using quorv_test::Record;

namespace {

void addText(PPTCell& cell, const std::wstring& text) { cell.getCellTextBox()->addText(text, Font()); }

// A table with text in every cell, a fill, a frame anchored in the middle and a merge.
PPTPtr<PPTTable> sample() {
    PPTPtr<PPTTable> t = grid(40.0f, 60.0f, 500.0f, {30.0f, 25.0f, 25.0f}, {{0.0f, 150.0f, 300.0f}});
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) addText(*cellAt(*t, r, c), L"r" + std::to_wstring(r) + L"c" + std::to_wstring(c));
    }
    cellAt(*t, 0, 1)->setCellFill(0x00336699);
    cellAt(*t, 1, 2)->getCellTextBox()->set_anchor(1);
    cellAt(*t, 1, 0)->set_Downmerge(true);
    cellAt(*t, 2, 0)->set_Upmerge(true);
    return t;
}

// The OfficeArtSpContainers directly inside the first table group of the document stream's
// slides, as (spid, record) pairs.
std::vector<std::vector<std::uint32_t>> tableGroupSpids(const Bytes& stream) {
    std::vector<std::vector<std::uint32_t>> out;
    for (const Record& top : quorv_test::parseRecords(stream, 0, stream.size())) {
        if (top.type != 0x03EE) continue;
        for (const Record* group : top.findAll(0xF003)) {
            std::vector<std::uint32_t> spids;
            for (const Record& child : group->children) {
                if (child.type != 0xF004) continue;
                for (const Record& atom : child.children) {
                    if (atom.type == 0xF00A) spids.push_back(quorv_test::readU32(stream, atom.bodyOffset()));
                }
            }
            // The slide's own shape group holds the group and background shapes (0x800, 0x801).
            if (!spids.empty() && spids.front() >= 0x4D00) out.push_back(spids);
        }
    }
    return out;
}

PPTDocument deckWith(std::initializer_list<PPTPtr<PPTShape>> shapes) {
    PPTDocument doc;
    doc.set_Width(720);
    doc.set_Hight(540);
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    int num = 1;
    for (const auto& s : shapes) {
        s->set_ShapeNum(num++);
        slide->addShape(s);
    }
    return doc;
}

} // namespace

TEST(TableSave, SizesAreWhatIsWrittenAndFollowTheRecordFormulas) {
    PPTPtr<PPTTable> t = sample();
    layOut(*t);
    EXPECT_EQ(detail::TableAccess::calheadsize(*t), 126 + 4 * 3);

    int sum = 0;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            PPTCell& cell = *cellAt(*t, r, c);
            if (!cell.get_Cell()) {
                EXPECT_EQ(cell.cal_Size(), 0);
                continue;
            }
            PPTPtr<PPTTextFrame> frame = cell.getCellTextBox();
            int scratch = 0;
            const int n = frame->get_anchor() > 0 ? 17 : 16;
            EXPECT_EQ(cell.cal_Size(), 8 + 16 + 8 + 6 * n + 62 + 24 + frame->calSize(&scratch, false) + 8)
                << r << "," << c;
            QvOutputStream s;
            cell.out_Stream(s);
            EXPECT_EQ(s.size(), cell.cal_Size());
            sum += cell.cal_Size();
        }
    }
    const int rules = static_cast<int>(detail::TableAccess::ruleLines(*t).size());
    int zero = 0;
    const int size = t->calSize(&zero, true);
    EXPECT_EQ(size, 126 + 4 * 3 + 8 + sum + 172 * rules);
    QvOutputStream s;
    EXPECT_TRUE(t->output(s, false));
    ASSERT_EQ(s.size(), size + 8);
    Record group = quorv_test::parseRecord(s.bytes(), 0);
    EXPECT_EQ(group.type, 0xF003u);
    EXPECT_EQ(group.length, static_cast<std::uint32_t>(size));
    EXPECT_EQ(group.children.size(), 1u + 8u + static_cast<std::size_t>(rules));
}

TEST(TableSave, SavingTwiceWritesTheSameTable) {
    PPTPtr<PPTTable> t = sample();
    PPTDocument doc = deckWith({t});
    const Bytes first = quorv_test::documentStream(doc);
    EXPECT_EQ(static_cast<float>(t->item(0)->getRowHigh()), 30.125f);
    EXPECT_EQ(static_cast<float>(cellAt(*t, 2, 1)->get_cellTop()), 60.125f + 30.125f + 25.125f);
    const Bytes second = quorv_test::documentStream(doc);
    EXPECT_TRUE(quorv_test::sameBytes(first, second));
    // The values the host reads are those of one layout.
    EXPECT_EQ(static_cast<float>(t->item(0)->getRowHigh()), 30.125f);
    EXPECT_EQ(detail::TableAccess::tableTop(*t), 60.125f);
    std::vector<std::vector<std::uint32_t>> groups = tableGroupSpids(second);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].size(), 1u + 8u + detail::TableAccess::ruleLines(*t).size());
}

TEST(TableSave, TablesOnOneSlideNumberTheirShapesApart) {
    PPTPtr<PPTTextFrame> before(new PPTTextFrame(10, 10, 100, 20));
    PPTPtr<PPTTable> a = onGrid(2, {{0.0f, 100.0f}});
    PPTPtr<PPTTable> b = onGrid(2, {{0.0f, 100.0f}});
    PPTPtr<PPTTextFrame> after(new PPTTextFrame(10, 400, 100, 20));
    PPTDocument doc = deckWith({before, a, b, after});
    std::map<std::u16string, Bytes> streams = quorv_test::streamsOf(doc);
    EXPECT_EQ(quorv_test::describeProblems(quorv_test::verifyPresentation(streams)), "");

    // Ordinary shapes keep their numbers: the text frame after the tables gets the value the
    // tables started from.
    EXPECT_EQ(before->get_ShapeId(), 2);
    EXPECT_EQ(after->get_ShapeId(), 3);
    std::vector<std::vector<std::uint32_t>> groups = tableGroupSpids(streams.at(u"PowerPoint Document"));
    ASSERT_EQ(groups.size(), 2u);
    // The first table numbers from 3 + 32; its group takes 35 + 17. The second starts after it.
    EXPECT_EQ(groups[0][0], 0x4D00u + 52);
    EXPECT_EQ(groups[1].back(), 0x4D00u + 53 + 11); // its last rule: cells 53..57, rules 59..64
    EXPECT_EQ(groups[1][0], 0x4D00u + 53 + 17);
    std::set<std::uint32_t> all;
    for (const auto& g : groups) all.insert(g.begin(), g.end());
    EXPECT_EQ(all.size(), groups[0].size() + groups[1].size());
}

TEST(TableSave, TableNumbersStayClearOfOrdinaryShapeIds) {
    // Ordinary shapes write 0x800 + id, table shapes 0x4D00 + number. With 17,700 ordinary
    // shapes the highest is 0x800 + 17,701 = 0x4D25, so a table numbers from 0x26 up.
    for (int ordinary : {17660, 17700}) {
        std::vector<PPTPtr<PPTShape>> shapes;
        PPTPtr<PPTTable> t = onGrid(1, {{0.0f}});
        shapes.push_back(t);
        for (int i = 0; i < ordinary; ++i) shapes.push_back(PPTPtr<PPTShape>(new quorv_test::FakeShape("x", 1)));
        assignShapeIds(shapes);
        const int first = cellAt(*t, 0, 0)->getCellTextBox()->get_ShapeId();
        EXPECT_EQ(first, ordinary == 17660 ? 34 : 38) << ordinary;
        EXPECT_GT(0x4D00 + first, 0x800 + 1 + ordinary);
    }
}

namespace {

class TableFileTest : public quorv_test::TempDirTest {};

Bytes readFile(const std::string& p) {
    std::ifstream f(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

} // namespace

TEST_F(TableFileTest, ATableWithoutRowsOrCellsFailsTheSaveAndWritesNothing) {
    {
        std::ofstream keep(path("old.ppt"), std::ios::binary);
        keep << "keep me";
    }
    PPTPtr<PPTTable> noRows(new PPTTable(10, 10, 100, 100));
    PPTDocument doc = deckWith({noRows});
    try {
        doc.save(path("old.ppt"));
        ADD_FAILURE() << "saved a table without rows";
    } catch (const QvException& e) {
        EXPECT_EQ(e.get_Code(), QV_ERR_ROW_INDEX);
    }
    EXPECT_EQ(readFile(path("old.ppt")), (Bytes{'k', 'e', 'e', 'p', ' ', 'm', 'e'}));

    PPTPtr<PPTTable> emptyRow = onGrid(1, {{0.0f}});
    emptyRow->addRow(PPTPtr<PPTRow>(new PPTRow));
    PPTDocument second = deckWith({emptyRow});
    try {
        second.save(path("new.ppt"));
        ADD_FAILURE() << "saved a row without cells";
    } catch (const QvException& e) {
        EXPECT_EQ(e.get_Code(), QV_ERR_CELL_INDEX);
    }
    EXPECT_EQ(files(), std::vector<std::string>{"old.ppt"});

    // Once the host repairs the table, the same document saves.
    emptyRow->item(1)->addCell(PPTPtr<PPTCell>(new PPTCell));
    second.save(path("new.ppt"));
    EXPECT_EQ(quorv_test::describeProblems(quorv_test::verifyPresentationPath(path("new.ppt"))), "");
}

namespace {

PPTPtr<PPTTable> textTable(int rows, int cols) {
    std::vector<float> offsets;
    for (int c = 0; c < cols; ++c) offsets.push_back(60.0f * static_cast<float>(c));
    const std::vector<float> heights(static_cast<std::size_t>(rows), 12.0f);
    PPTPtr<PPTTable> t = grid(10.0f, 10.0f, 60.0f * static_cast<float>(cols), heights, {offsets});
    Font bold;
    bold.set_Bold(true);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            PPTPtr<PPTTextFrame> f = cellAt(*t, r, c)->getCellTextBox();
            f->addText(L"cell ", Font());
            f->addText(std::to_wstring(r * cols + c), bold);
        }
    }
    return t;
}

// Processor time of what a slide does with a table when it is saved: lay it out, size it and
// write it, twice.
double secondsToSave(PPTTable& t) {
    const std::clock_t start = std::clock();
    for (int i = 0; i < 2; ++i) {
        int counter = 34;
        t.calSize(&counter, false);
        int zero = 0;
        t.calSize(&zero, true);
        QvOutputStream s;
        t.output(s, false);
    }
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

} // namespace

// Not a timing test: four times the cells must not cost anything like sixteen times as much,
// whether the table grows in rows or in columns.
TEST(TableSave, SavingIsLinearInTheCells) {
    PPTPtr<PPTTable> base = textTable(30, 10);
    PPTPtr<PPTTable> taller = textTable(120, 10);
    PPTPtr<PPTTable> wider = textTable(30, 40);
    double t1 = 1e9, tRows = 1e9, tCols = 1e9;
    for (int round = 0; round < 3; ++round) {
        t1 = std::min(t1, secondsToSave(*base));
        tRows = std::min(tRows, secondsToSave(*taller));
        tCols = std::min(tCols, secondsToSave(*wider));
    }
    RecordProperty("seconds_30x10", std::to_string(t1));
    RecordProperty("seconds_120x10", std::to_string(tRows));
    RecordProperty("seconds_30x40", std::to_string(tCols));
    EXPECT_LT(tRows, 10 * t1 + 0.002) << t1 << " s for 300 cells, " << tRows << " s for 1,200 in rows";
    EXPECT_LT(tCols, 10 * t1 + 0.002) << t1 << " s for 300 cells, " << tCols << " s for 1,200 in columns";
}
