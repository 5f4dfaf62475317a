// A maze drawn on a lattice: floor nodes where chosen columns and rows cross, joined by straight
// corridors along the lattice lines. Any set of corridors gives one-cell-wide paths with walls on every
// node's diagonals, and a node is a junction exactly when it has a corridor across and one along.
#pragma once

#include "game/MazeGrid.hpp"

#include <vector>

namespace vimbo::mapgen {

// The symmetries a design may ask for; the lattice lines must be symmetric under them.
enum class Symmetry { None, MirrorLeftRight, HalfTurn, MirrorBoth };

struct LatticeEdge {
    int from = 0; // node indices
    int to = 0;
    bool across = false; // horizontal corridor
    int length = 0;      // cells between the two nodes, exclusive
};

// What a choice of corridors amounts to, counted the way the loader and the game see it.
struct LatticeStats {
    int floorCells = 0;
    int junctions = 0;
    int deadEnds = 0;   // nodes with one corridor
    int components = 0; // among nodes with a corridor
    int loops = 0;      // independent cycles: corridors - nodes + components
    int branches = 0;   // nodes with three or four corridors
};

class LatticeMaze {
public:
    LatticeMaze(std::vector<int> columns, std::vector<int> rows, Symmetry symmetry);

    int NodeCount() const { return static_cast<int>(columns_.size() * rows_.size()); }
    int NodeAt(int column, int row) const; // -1 when (column, row) is no lattice node
    const std::vector<LatticeEdge>& Edges() const { return edges_; }
    // Groups of edges that map onto each other under the symmetry; the search switches whole groups.
    const std::vector<std::vector<int>>& Orbits() const { return orbits_; }

    LatticeStats Measure(const std::vector<bool>& edgeOn) const;
    // Corridors per node, split by direction: bit 0 left, 1 right, 2 up, 3 down.
    std::vector<int> NodeLinks(const std::vector<bool>& edgeOn) const;
    MazeGrid Draw(const std::vector<bool>& edgeOn) const;
    // Lattice faces closed on all four sides around at most maxArea wall cells: tight little loops
    // that look cramped and give no real escape.
    int TightLoops(const std::vector<bool>& edgeOn, int maxArea) const;

private:
    int NodeIndex(int columnSlot, int rowSlot) const {
        return columnSlot * static_cast<int>(rows_.size()) + rowSlot;
    }
    void BuildEdges();
    void BuildOrbits();
    int MirrorEdge(int edge, bool flipColumns, bool flipRows) const;

    std::vector<int> columns_;
    std::vector<int> rows_;
    Symmetry symmetry_;
    std::vector<LatticeEdge> edges_;
    std::vector<std::vector<int>> orbits_;
    std::vector<int> edgeAt_; // (from * NodeCount + to) -> edge, for symmetric look-ups
    struct Face {
        int edges[4];
        int area;
    };
    std::vector<Face> faces_;
};

} // namespace vimbo::mapgen
