// Version of the quorv library.
#pragma once

#define QUORV_VERSION_MAJOR 0
#define QUORV_VERSION_MINOR 1
#define QUORV_VERSION_PATCH 0
#define QUORV_VERSION_STRING "0.1.0"
