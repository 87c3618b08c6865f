// Pictures: PPTPicture.
#pragma once
