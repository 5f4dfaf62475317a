// Level designs. Early levels sit on coarse lattices with many loops to escape through; later ones on
// finer lattices with fewer loops, so the corridors get longer and wind more.
#include "tools/mapgen/LevelDesigns.hpp"

namespace vimbo::mapgen {

namespace {

// Lattice lines, each set symmetric about the maze's middle (column c against 31 - c, row r against
// 30 - r) so that any symmetry can use them. Columns 1 and 30, rows 1 and 29 are always there: the
// player starts at (1, 1) and the enemy at (30, 29).
const std::vector<int> kCoarseColumns{1, 4, 7, 10, 14, 17, 21, 24, 27, 30};
const std::vector<int> kMixedColumns{1, 4, 6, 9, 11, 14, 17, 20, 22, 25, 27, 30};
const std::vector<int> kPairedColumns{1, 3, 6, 8, 11, 13, 18, 20, 23, 25, 28, 30};
const std::vector<int> kFineColumns{1, 3, 5, 7, 9, 11, 14, 17, 20, 22, 24, 26, 28, 30};

const std::vector<int> kCoarseRows{1, 4, 7, 10, 12, 15, 18, 20, 23, 26, 29};
const std::vector<int> kMixedRows{1, 3, 6, 9, 12, 15, 18, 21, 24, 27, 29};
const std::vector<int> kPairedRows{1, 4, 6, 9, 11, 13, 15, 17, 19, 21, 24, 26, 29};
const std::vector<int> kFineRows{1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29};

LevelDesign Design(int level, const std::vector<int>& columns, const std::vector<int>& rows,
                   Symmetry symmetry, int floorCells, int junctions, int loops) {
    LevelDesign design;
    design.level = level;
    design.columns = columns;
    design.rows = rows;
    design.symmetry = symmetry;
    design.floorCells = floorCells;
    design.junctions = junctions;
    design.loops = loops;
    design.tolerance = level == 1 ? 0 : 6;
    design.seed = static_cast<std::uint64_t>(level);
    return design;
}

} // namespace

std::vector<LevelDesign> LevelDesigns() {
    using enum Symmetry;
    return {
        // Level 1's counts are fixed: 318 floor cells of which 48 junctions.
        Design(1, kCoarseColumns, kCoarseRows, MirrorLeftRight, 318, 48, 16),
        Design(2, kCoarseColumns, kMixedRows, MirrorBoth, 330, 52, 16),
        Design(3, kMixedColumns, kCoarseRows, MirrorLeftRight, 336, 52, 15),
        Design(4, kCoarseColumns, kPairedRows, HalfTurn, 340, 54, 15),
        Design(5, kPairedColumns, kMixedRows, MirrorLeftRight, 340, 54, 15),
        Design(6, kMixedColumns, kMixedRows, HalfTurn, 344, 54, 14),
        Design(7, kPairedColumns, kCoarseRows, MirrorBoth, 344, 56, 14),
        Design(8, kFineColumns, kCoarseRows, MirrorLeftRight, 348, 56, 13),
        Design(9, kMixedColumns, kPairedRows, HalfTurn, 348, 56, 13),
        Design(10, kCoarseColumns, kFineRows, MirrorLeftRight, 352, 58, 13),
        Design(11, kPairedColumns, kPairedRows, HalfTurn, 352, 58, 12),
        Design(12, kFineColumns, kMixedRows, MirrorBoth, 356, 60, 12),
        Design(13, kMixedColumns, kFineRows, HalfTurn, 356, 60, 12),
        Design(14, kFineColumns, kPairedRows, MirrorLeftRight, 360, 60, 11),
        Design(15, kPairedColumns, kFineRows, HalfTurn, 360, 62, 11),
        Design(16, kFineColumns, kFineRows, MirrorLeftRight, 364, 62, 10),
        Design(17, kMixedColumns, kPairedRows, None, 364, 64, 10),
        Design(18, kFineColumns, kPairedRows, HalfTurn, 368, 64, 10),
        Design(19, kPairedColumns, kFineRows, HalfTurn, 368, 66, 9),
        Design(20, kFineColumns, kFineRows, MirrorLeftRight, 372, 66, 9),
    };
}

} // namespace vimbo::mapgen
