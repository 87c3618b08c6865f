// The standard deck of the benchmarks: N slides, each with a title, a three-paragraph formatted
// text frame, two rectangles, two lines, a closed five-point polygon, one 64 x 48 PNG and a
// 3 x 4 table with text. bench/PoiBench.java builds the same deck with Apache POI.
#pragma once

#include <string>

#include "quorv/quorv.h"

namespace quorv_bench {

// picture: the PNG file every slide shows, named as a host names its image files
// (PPTPicture::setFileName: read at the save, nothing kept in memory).
void buildStandardDeck(Quorv::PPTDocument& doc, int slides, const std::string& picture);

} // namespace quorv_bench
