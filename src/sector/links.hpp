// The links between two adjacent levels of the sector classification.
//
// The lower level holds one parent per member, and parents never decrease in
// index order, so the children of an upper member are a run of consecutive
// lower members. The runs are derived from the parent column by the compiler;
// a call reads one parent or one run and makes new members.
#pragma once

#include <array>
#include <cstddef>
#include <iterator>

#include "../enum.hpp"

namespace tessamir::sector {

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
constexpr bool parents_ordered(const Index (&parent)[L], std::size_t upper) {
    for (std::size_t i = 0; i < L; ++i) {
        if (parent[i] >= upper) return false;
        if (i > 0 && parent[i] < parent[i - 1]) return false;
    }
    return true;
}

template <std::size_t U, std::size_t L>
consteval ChildRuns<U> child_runs(const Index (&parent)[L]) {
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
