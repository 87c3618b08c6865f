// Lines, rectangles and polylines: PPTLine, PPTRectangle and PPTPolyLine.
#pragma once
