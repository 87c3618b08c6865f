// Text: Font, PPTParagraphFormat and PPTTextFrame.
#pragma once
