// The links between two adjacent levels of the sector classification.
//
// Each member of a lower level names its parent in the level above, and the
// rows of a lower level are grouped by parent in the parents' order, so the
// children of an upper member are a run of consecutive lower members. The
// parent indexes and the runs are derived from the names by the compiler; a
// call reads one parent or one run and makes new members.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "../enum.hpp"

namespace tessamir::sector {

// One member of a lower level and the class attribute name of its parent.
struct ChildRow {
    Member member;
    std::string_view parent;
};

constexpr const Member& member_of(const Member& row) { return row; }
constexpr const Member& member_of(const ChildRow& row) { return row.member; }

// The index of each lower row's parent among the upper rows. The search for
// a row's parent goes on from the previous row's, so a name that names no
// upper member, or a parent out of order, is never found and stops the build.
template <std::size_t L, typename UpperRow, std::size_t U>
consteval std::array<Index, L> parent_column(const ChildRow (&rows)[L], const UpperRow (&upper)[U]) {
    std::array<Index, L> column{};
    std::size_t parent = 0;
    for (std::size_t i = 0; i < L; ++i) {
        while (parent < U && std::string_view(member_of(upper[parent]).attribute) != rows[i].parent) ++parent;
        if (parent == U) invalid_table("a parent names no member of the level above, or comes out of order");
        column[i] = static_cast<Index>(parent);
    }
    return column;
}

// Where the children of each upper member start, and how many there are.
template <std::size_t U>
struct ChildRuns {
    std::array<Index, U> first{};
    std::array<Index, U> count{};

    constexpr bool none_empty() const {
        for (const Index n : count) {
            if (n == 0) return false;
        }
        return true;
    }
};

// Parents name members of an upper level of `upper` members and never decrease.
template <std::size_t L>
constexpr bool parents_ordered(const std::array<Index, L>& parent, std::size_t upper) {
    for (std::size_t i = 0; i < L; ++i) {
        if (parent[i] >= upper) return false;
        if (i > 0 && parent[i] < parent[i - 1]) return false;
    }
    return true;
}

template <std::size_t U, std::size_t L>
consteval ChildRuns<U> child_runs(const std::array<Index, L>& parent) {
    ChildRuns<U> runs{};
    for (std::size_t i = 0; i < L; ++i) {
        const Index p = parent[i];
        if (p >= U) invalid_table("a parent outside the upper level");
        if (runs.count[p] == 0) runs.first[p] = static_cast<Index>(i);
        ++runs.count[p];
    }
    return runs;
}

// The link from class Lower up to class Upper through Lower's parent column,
// and back down.
template <const EnumClassSpec& Upper, const EnumClassSpec& Lower, const auto& Parent>
struct Link {
    static_assert(std::size(Parent) == Lower.size(), "one parent per member of the lower level");
    static_assert(parents_ordered(Parent, Upper.size()), "parents are upper members, in ascending order");
    static constexpr ChildRuns<Upper.size()> runs = child_runs<Upper.size()>(Parent);
    static_assert(runs.none_empty(), "every upper member has a child");

    // A new member of Upper: the parent of a member of Lower.
    static PyObject* parent(PyObject* self) { return new_member<Upper>(Parent[member_index(Lower, self)]); }

    // A new list of new members of Lower: the children of a member of Upper.
    static PyObject* children(PyObject* self) {
        const Index i = member_index(Upper, self);
        return new_member_list<Lower>(runs.first[i], runs.count[i]);
    }
};

}  // namespace tessamir::sector
