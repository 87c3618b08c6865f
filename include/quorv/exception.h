// QvException: the one error type of the library.
#pragma once

#include <exception>
#include <string>

#include "quorv/export.h"

namespace Quorv {

// Error codes carried by QvException.
enum QvErrorCode : int {
    QV_ERR_CELL_INDEX = 1,         // PPTRow::item: cell index out of range
    QV_ERR_ROW_INDEX = 2,          // PPTTable::item: row index out of range
    QV_ERR_LINE_STYLE = 3,         // PPTShape::set_LineStyle: style not in -1..10
    QV_ERR_RECT_WIDTH = 4,         // PPTRectangle::set_Width: negative width
    QV_ERR_WRITE_FILE = 5,         // PPTDocument::save: the file could not be written
    QV_ERR_HEIGHT_OR_FILENAME = 6, // PPTRectangle::set_Height: negative height; save: empty file name
    QV_ERR_NULL_PROPERTIES = 7,    // PPTDocument::setProperties: null properties
    QV_ERR_BULLET = 8,             // PPTParagraphFormat::SetnumBullet / SetbuChar: value out of range
    QV_ERR_ALIGNMENT = 9,          // PPTParagraphFormat::SetAlignment: value out of range
    QV_ERR_CELL_OFFSET = 10,       // PPTCell::set_celloffsetx: negative offset
    QV_ERR_TEXT_TOO_LONG = 11,     // PPTTextFrame::addText: more than 65,535 UTF-16 code units
    QV_ERR_TOO_LARGE = 12,         // PPTDocument::save: the presentation exceeds a limit of the file format
    QV_ERR_PICTURE_TOO_LARGE = 13, // PPTDocument::save: a picture does not fit the 32-bit sizes and offsets of its records
    QV_ERR_PICTURE_READ = 14,      // PPTDocument::save: a picture's file or stream changed or failed while it was read
    QV_ERR_SHAPE_NOT_FINITE = 15,  // save: a line, rectangle, polyline or table rule has a coordinate
                                   // or line width, or a text frame or picture a position or size,
                                   // that is infinite or not a number
    QV_ERR_TOO_MANY_POINTS = 16,   // save: a polyline has more points than an OfficeArt freeform holds
    QV_ERR_TABLE_NOT_FINITE = 17,  // save: a table's edge, a row height or a cell width is infinite
                                   // or not a number
    QV_ERR_TABLE_GEOMETRY = 18,    // save: a table cannot be laid out (a negative row height or cell
                                   // width, a cell outside the table, a table beyond a slide's range)
};

// Thrown for every error a caller can cause. what() is the message of the error code: a fixed
// prefix followed by the detail for codes 1, 2 and 5, empty for codes 3 to 10, and a short
// English sentence for the codes from 11 up. get_Detail() always holds the detail, and
// get_SystemError() the operating system's text when a system call failed (code 5).
class QUORV_EXPORT QvException : public std::exception {
public:
    QvException(int code, std::string message, std::string detail = std::string(),
                std::string systemError = std::string());
    QvException(const QvException&) = default;
    QvException& operator=(const QvException&) = default;
    ~QvException() override;

    const char* what() const noexcept override;

    int get_Code() const noexcept { return code_; }
    const std::string& get_Detail() const noexcept { return detail_; }
    const std::string& get_SystemError() const noexcept { return systemError_; }

private:
    std::string message_;
    int code_;
    std::string detail_;
    std::string systemError_;
};

// Builds the exception for an error code from the code and a detail string.
QUORV_EXPORT QvException makeException(int code, const std::string& detail);

} // namespace Quorv
