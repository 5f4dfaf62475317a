// Lattice mazes: edges, symmetry groups, counting and drawing into a maze grid.
#include "tools/mapgen/LatticeMaze.hpp"

#include <algorithm>
#include <bit>
#include <numeric>
#include <stdexcept>

namespace vimbo::mapgen {

LatticeMaze::LatticeMaze(std::vector<int> columns, std::vector<int> rows, Symmetry symmetry)
    : columns_(std::move(columns)), rows_(std::move(rows)), symmetry_(symmetry) {
    BuildEdges();
    BuildOrbits();
}

int LatticeMaze::NodeAt(int column, int row) const {
    const auto c = std::find(columns_.begin(), columns_.end(), column);
    const auto r = std::find(rows_.begin(), rows_.end(), row);
    if (c == columns_.end() || r == rows_.end())
        return -1;
    return NodeIndex(static_cast<int>(c - columns_.begin()), static_cast<int>(r - rows_.begin()));
}

void LatticeMaze::BuildEdges() {
    const int columnCount = static_cast<int>(columns_.size());
    const int rowCount = static_cast<int>(rows_.size());
    for (int c = 0; c < columnCount; ++c) {
        for (int r = 0; r < rowCount; ++r) {
            if (c + 1 < columnCount)
                edges_.push_back(
                    {NodeIndex(c, r), NodeIndex(c + 1, r), true, columns_[c + 1] - columns_[c] - 1});
            if (r + 1 < rowCount)
                edges_.push_back({NodeIndex(c, r), NodeIndex(c, r + 1), false, rows_[r + 1] - rows_[r] - 1});
        }
    }
    for (const LatticeEdge& edge : edges_)
        if (edge.length < 1)
            throw std::invalid_argument("lattice lines must be at least two cells apart");
    edgeAt_.assign(static_cast<std::size_t>(NodeCount()) * NodeCount(), -1);
    for (int e = 0; e < static_cast<int>(edges_.size()); ++e) {
        edgeAt_[edges_[e].from * NodeCount() + edges_[e].to] = e;
        edgeAt_[edges_[e].to * NodeCount() + edges_[e].from] = e;
    }
    auto edgeBetween = [&](int a, int b) { return edgeAt_[a * NodeCount() + b]; };
    for (int c = 0; c + 1 < columnCount; ++c) {
        for (int r = 0; r + 1 < rowCount; ++r) {
            Face face{{edgeBetween(NodeIndex(c, r), NodeIndex(c + 1, r)),
                       edgeBetween(NodeIndex(c, r + 1), NodeIndex(c + 1, r + 1)),
                       edgeBetween(NodeIndex(c, r), NodeIndex(c, r + 1)),
                       edgeBetween(NodeIndex(c + 1, r), NodeIndex(c + 1, r + 1))},
                      (columns_[c + 1] - columns_[c] - 1) * (rows_[r + 1] - rows_[r] - 1)};
            faces_.push_back(face);
        }
    }
}

int LatticeMaze::MirrorEdge(int edge, bool flipColumns, bool flipRows) const {
    const int rowCount = static_cast<int>(rows_.size());
    auto mirrorNode = [&](int node) {
        const int column = columns_[node / rowCount];
        const int row = rows_[node % rowCount];
        const int mirrored =
            NodeAt(flipColumns ? kMazeColumns - 1 - column : column, flipRows ? kMazeRows - 1 - row : row);
        if (mirrored < 0)
            throw std::invalid_argument("lattice lines do not fit the symmetry");
        return mirrored;
    };
    return edgeAt_[mirrorNode(edges_[edge].from) * NodeCount() + mirrorNode(edges_[edge].to)];
}

void LatticeMaze::BuildOrbits() {
    std::vector<int> group(edges_.size());
    std::iota(group.begin(), group.end(), 0);
    auto root = [&](int e) {
        while (group[e] != e)
            e = group[e] = group[group[e]];
        return e;
    };
    auto join = [&](int a, int b) { group[root(a)] = root(b); };
    for (int e = 0; e < static_cast<int>(edges_.size()); ++e) {
        if (symmetry_ == Symmetry::MirrorLeftRight || symmetry_ == Symmetry::MirrorBoth)
            join(e, MirrorEdge(e, true, false));
        if (symmetry_ == Symmetry::MirrorBoth)
            join(e, MirrorEdge(e, false, true));
        if (symmetry_ == Symmetry::HalfTurn || symmetry_ == Symmetry::MirrorBoth)
            join(e, MirrorEdge(e, true, true));
    }
    std::vector<int> orbitOfRoot(edges_.size(), -1);
    for (int e = 0; e < static_cast<int>(edges_.size()); ++e) {
        int& orbit = orbitOfRoot[root(e)];
        if (orbit < 0) {
            orbit = static_cast<int>(orbits_.size());
            orbits_.emplace_back();
        }
        orbits_[orbit].push_back(e);
    }
}

std::vector<int> LatticeMaze::NodeLinks(const std::vector<bool>& edgeOn) const {
    std::vector<int> links(NodeCount(), 0);
    for (int e = 0; e < static_cast<int>(edges_.size()); ++e) {
        if (!edgeOn[e])
            continue;
        links[edges_[e].from] |= edges_[e].across ? 2 : 8;
        links[edges_[e].to] |= edges_[e].across ? 1 : 4;
    }
    return links;
}

LatticeStats LatticeMaze::Measure(const std::vector<bool>& edgeOn) const {
    LatticeStats stats;
    const std::vector<int> links = NodeLinks(edgeOn);
    std::vector<int> group(NodeCount());
    std::iota(group.begin(), group.end(), 0);
    auto root = [&](int n) {
        while (group[n] != n)
            n = group[n] = group[group[n]];
        return n;
    };
    int corridors = 0;
    for (int e = 0; e < static_cast<int>(edges_.size()); ++e) {
        if (!edgeOn[e])
            continue;
        ++corridors;
        stats.floorCells += edges_[e].length;
        group[root(edges_[e].from)] = root(edges_[e].to);
    }
    int nodes = 0;
    for (int n = 0; n < NodeCount(); ++n) {
        const int link = links[n];
        if (link == 0)
            continue;
        ++nodes;
        ++stats.floorCells;
        if (root(n) == n)
            ++stats.components;
        const int degree = std::popcount(static_cast<unsigned>(link));
        if (degree == 1)
            ++stats.deadEnds;
        if (degree >= 3)
            ++stats.branches;
        const bool across = (link & 3) != 0;
        const bool along = (link & 12) != 0;
        if (across && along)
            ++stats.junctions;
    }
    stats.loops = corridors - nodes + stats.components;
    return stats;
}

int LatticeMaze::TightLoops(const std::vector<bool>& edgeOn, int maxArea) const {
    int count = 0;
    for (const Face& face : faces_)
        if (face.area <= maxArea && edgeOn[face.edges[0]] && edgeOn[face.edges[1]] && edgeOn[face.edges[2]] &&
            edgeOn[face.edges[3]])
            ++count;
    return count;
}

MazeGrid LatticeMaze::Draw(const std::vector<bool>& edgeOn) const {
    MazeGrid grid = WallGrid();
    const int rowCount = static_cast<int>(rows_.size());
    for (int e = 0; e < static_cast<int>(edges_.size()); ++e) {
        if (!edgeOn[e])
            continue;
        const int c0 = columns_[edges_[e].from / rowCount], r0 = rows_[edges_[e].from % rowCount];
        const int c1 = columns_[edges_[e].to / rowCount], r1 = rows_[edges_[e].to % rowCount];
        for (int c = c0; c <= c1; ++c)
            for (int r = r0; r <= r1; ++r)
                MazeAt(grid, c, r) = kFloorCell;
    }
    return grid;
}

} // namespace vimbo::mapgen
