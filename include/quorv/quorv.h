// quorv: writes presentations in the binary PowerPoint 97-2003 format (.ppt).
// This umbrella header includes the whole public interface.
#pragma once

#include "quorv/version.h"
#include "quorv/exception.h"
#include "quorv/length.h"
#include "quorv/ref_counted.h"
#include "quorv/input_stream.h"
#include "quorv/shape.h"
#include "quorv/slide.h"
#include "quorv/properties.h"
#include "quorv/document.h"
#include "quorv/text.h"
#include "quorv/drawing.h"
#include "quorv/picture.h"
#include "quorv/table.h"
