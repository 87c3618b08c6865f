// Tables: PPTTable, PPTRow and PPTCell.
#pragma once
