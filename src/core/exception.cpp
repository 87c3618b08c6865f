#include "quorv/exception.h"

#include <utility>

namespace Quorv {

QvException::QvException(int code, std::string message, std::string detail, std::string systemError)
    : message_(std::move(message)), code_(code), detail_(std::move(detail)),
      systemError_(std::move(systemError)) {}

QvException::~QvException() = default;

const char* QvException::what() const noexcept { return message_.c_str(); }

namespace {

// The message of each code. Codes 1, 2 and 5 append the detail to a fixed prefix (the prefix of
// code 5 ends in two blanks); codes 3 to 10 have an empty message; the codes added from 11 up
// carry a sentence of their own.
std::string messageFor(int code, const std::string& detail) {
    switch (code) {
    case QV_ERR_CELL_INDEX:
        return "Illegal cell number value " + detail;
    case QV_ERR_ROW_INDEX:
        return "Illegal row number value " + detail;
    case QV_ERR_WRITE_FILE:
        return "write ole file error  " + detail;
    case QV_ERR_TEXT_TOO_LONG:
        return "text frame would exceed 65535 UTF-16 code units";
    case QV_ERR_TOO_LARGE:
        return "presentation exceeds a size limit of the file format: " + detail;
    case QV_ERR_PICTURE_TOO_LARGE:
        return "picture is too large for the 32-bit sizes and offsets of the picture records: " + detail;
    case QV_ERR_PICTURE_READ:
        return "picture data could not be read completely: " + detail;
    case QV_ERR_SHAPE_NOT_FINITE:
        return "shape coordinate or line width is not a finite number: " + detail;
    case QV_ERR_TOO_MANY_POINTS:
        return "polyline has more points than a freeform can hold: " + detail;
    case QV_ERR_TABLE_NOT_FINITE:
        return "table coordinate is not a finite number: " + detail;
    case QV_ERR_TABLE_GEOMETRY:
        return "table cannot be laid out: " + detail;
    default:
        return std::string();
    }
}

} // namespace

QvException makeException(int code, const std::string& detail) {
    return QvException(code, messageFor(code, detail), detail);
}

} // namespace Quorv
