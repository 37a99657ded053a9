// Compile-time text tables: the display texts of one enumeration class, the
// extra texts its constructor accepts, a collision-bounded open-addressing hash
// table over all of them, and the byte order (rank) of the display texts.
//
// Everything here is evaluated by the compiler; at run time a lookup hashes
// the text once and inspects at most `max_probe + 1` slots, whatever the
// member and whatever the size of the class.
//
// The compiler's work stays far inside the default limits of every compiler
// (clang's being the tightest) and grows about linearly with a table: the
// compiler tries hash seeds 1, 2, ... and keeps the first whose probe
// sequences stay within the bound, which seed 1 or 2 does for every class;
// texts are checked unique by hashing, not by comparing all pairs; and each
// table is evaluated in one source file only.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

// Functions the compiler keeps out of line, or always writes out in place.
#if defined(_MSC_VER)
#define TESSAMIR_NOINLINE __declspec(noinline)
#define TESSAMIR_INLINE __forceinline
#else
#define TESSAMIR_NOINLINE __attribute__((noinline))
#define TESSAMIR_INLINE inline __attribute__((always_inline))
#endif

namespace tessamir {

// Position of a member in its class's declaration order.
using Index = std::uint8_t;
inline constexpr Index no_member = 0xFF;

// One member as a class file writes it: the name of its class attribute and,
// where it differs, its display text. A member without a class attribute sets
// `attribute` to nullptr and gives its text.
struct Member {
    const char* attribute;
    std::string_view text = {};

    constexpr std::string_view display_text() const { return text.empty() ? std::string_view(attribute) : text; }
};

// An extra constructor text that names a member.
struct Alias {
    std::string_view text;
    Index index;
};

// One class attribute: its name and the member it holds.
struct Attribute {
    const char* name;
    Index index;
};

// ---------------------------------------------------------------------------
// The words of a text. At most three 8-byte reads (head, middle, tail) stand
// for a text of any length; up to 24 bytes they hold every byte of it, so that
// with its length they are the text: a lookup hashes them and compares them,
// and reads again only the inner bytes of a longer text. The reads are
// little-endian on every host, so that the words read at run time are those
// the compiler placed the texts by.

// The n (4 or 8) bytes at p as they lie in memory.
inline std::uint64_t load_native(const char* p, int n) {
    if (n == 8) {
        std::uint64_t v;
        std::memcpy(&v, p, 8);
        return v;
    }
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// The n (4 or 8) bytes at p as a little-endian number: one load where the
// host is little-endian; elsewhere (and in the compiler) assembled byte by
// byte, which compilers turn into a load and a byte swap.
constexpr std::uint64_t load_le(const char* p, int n) {
    if (!std::is_constant_evaluated() && std::endian::native == std::endian::little) return load_native(p, n);
    std::uint64_t v = 0;
    for (int i = 0; i < n; ++i) v |= std::uint64_t(static_cast<unsigned char>(p[i])) << (8 * i);
    return v;
}

// Texts longer than this are compared again past their words.
inline constexpr std::size_t word_bytes = 24;

struct TextWords {
    std::uint64_t head = 0;
    std::uint64_t tail = 0;
    std::uint64_t middle = 0;
};

// Bytes 0 to 7, n - 8 to n - 1 and, past 16 bytes, 8 to 15 from 8 bytes on;
// 0 to 3 and n - 4 to n - 1 from 4; bytes 0, n / 2 and n - 1 below.
constexpr TextWords text_words(const char* p, std::size_t n) {
    TextWords w;
    if (n >= 8) {
        w.head = load_le(p, 8);
        w.tail = load_le(p + n - 8, 8);
        if (n > 16) w.middle = load_le(p + 8, 8);
    } else if (n >= 4) {
        w.head = load_le(p, 4) | load_le(p + n - 4, 4) << 32;
    } else if (n > 0) {
        w.head = std::uint64_t(static_cast<unsigned char>(p[0])) |
                 std::uint64_t(static_cast<unsigned char>(p[n / 2])) << 8 |
                 std::uint64_t(static_cast<unsigned char>(p[n - 1])) << 16;
    }
    return w;
}

// A hash of a text's words, in its high bits: their sum times a multiplier
// the seed picks (odd, as both terms are); the compiler leaves out what a text
// of that length lacks. Texts that differ only in length may share a hash;
// the lookup compares lengths.
constexpr std::uint64_t text_hash(const TextWords& w, std::uint64_t seed) {
    return (w.head + w.middle + w.tail) * (0xbf58476d1ce4e5b9ULL + 2 * seed * 0x9e3779b97f4a7c15ULL);
}

// What a lookup compares a text with: the words, text and length of a key,
// and the member it names. The empty slots' entry has words of all ones,
// which no UTF-8 text has (the byte 0xFF never occurs in UTF-8, and the
// words of a text below 4 bytes leave their top bytes zero), so no text
// matches it.
struct KeyEntry {
    TextWords words{~std::uint64_t(0), ~std::uint64_t(0), ~std::uint64_t(0)};
    const char* text = nullptr;
    std::uint64_t length = 0;
    Index member = no_member;
};

// A hash slot holds the byte offset of a key's entry from the first (or of
// the empty entry), which the lookup adds to the entries' address as it reads.
using EntryOffset = std::uint16_t;

constexpr bool bytes_less(std::string_view a, std::string_view b) {
    // Unsigned byte order; a proper prefix sorts first.
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    const char* x = a.data();
    const char* y = b.data();
    std::size_t i = 0;
    while (i < n && x[i] == y[i]) ++i;
    return i < n ? static_cast<unsigned char>(x[i]) < static_cast<unsigned char>(y[i]) : a.size() < b.size();
}

// The run-time view of a class's text table, shared by all classes.
struct TextLookup {
    const KeyEntry* entries;  // one per key, then the empty one
    const EntryOffset* slots;
    std::uint64_t seed;
    unsigned bits;
    unsigned max_probe;
    std::size_t min_length;
    std::size_t max_length;

    // The entry of the key that is the n bytes of UTF-8 at p, or nullptr.
    // Each band of lengths has its own probe, reading and comparing only the
    // words texts of those lengths have; a class's longest text decides which
    // bands it needs, the longest tested first, and every length within them
    // goes to the probe of its band, whose length comparison rejects what is
    // not a key (each reads only bytes 0 to n - 1, whatever n is). Texts
    // longer than 2 * word_bytes go to `long_probe`: the class's own probe<5>
    // kept out of line, so that the registers its loop needs are saved only
    // when it runs.
    template <const KeyEntry* (*long_probe)(const char*, std::size_t)>
    TESSAMIR_INLINE const KeyEntry* find(const char* p, std::size_t n) const {
        // Where every key has the same length the words alone decide.
        if (min_length == max_length && n != min_length) return nullptr;
        if (max_length > 2 * word_bytes && n > 2 * word_bytes) return long_probe(p, n);
        if (max_length > word_bytes && n > word_bytes) return probe<4>(p, n);
        if (max_length > 16 && n > 16) return probe<3>(p, n);
        if (max_length >= 8 && n >= 8) return probe<2>(p, n);
        return min_length < 8 ? probe<1>(p, n) : nullptr;
    }

    // A text of the band whose words are head (Words 1), head and tail (2),
    // head, tail and middle (3), or those and the bytes between them (4 up
    // to 2 * word_bytes, 5 beyond). The first entry whose words and length
    // are the text's decides: no other key has them (lookup_complete), so a
    // longer text that differs past its words is no key.
    template <int Words>
    TESSAMIR_INLINE const KeyEntry* probe(const char* p, std::size_t n) const {
        // The words of text_words, read without testing n again.
        const TextWords w = Words == 1 ? text_words(p, n)
                                       : TextWords{load_le(p, 8), load_le(p + n - 8, 8),
                                                   Words > 2 ? load_le(p + 8, 8) : 0};
        const bool one_length = min_length == max_length;
        const std::uint64_t mask = (std::uint64_t(1) << bits) - 1;
        std::uint64_t slot = text_hash(w, seed) >> (64 - bits);
        for (unsigned probe = 0; probe <= max_probe; ++probe, slot = (slot + 1) & mask) {
            const EntryOffset offset = slots[slot];
            const KeyEntry& e = *reinterpret_cast<const KeyEntry*>(reinterpret_cast<const char*>(entries) + offset);
            if (e.words.head == w.head && (Words < 2 || e.words.tail == w.tail) &&
                (Words < 3 || e.words.middle == w.middle) && (one_length || e.length == n)) {
                return Words < 4 || same_inner_words<Words>(e.text, p, n) ? &e : nullptr;
            }
        }
        return nullptr;
    }

    // Whether the bytes 16 to n - 9 at a and b, those a text longer than
    // word_bytes has beyond its words, are equal, compared a word at a time
    // (in any byte order): up to 2 * word_bytes as the three words that end
    // at 24, n - 16 and n - 8, which overlap where n is below 48; beyond it
    // in a loop.
    template <int Words>
    TESSAMIR_INLINE static bool same_inner_words(const char* a, const char* b, std::size_t n) {
        if constexpr (Words == 4) {
            return ((load_native(a + 16, 8) ^ load_native(b + 16, 8)) |
                    (load_native(a + n - 24, 8) ^ load_native(b + n - 24, 8)) |
                    (load_native(a + n - 16, 8) ^ load_native(b + n - 16, 8))) == 0;
        }
        for (std::size_t i = 16; i < n - 8; i += 8) {
            if (load_native(a + i, 8) != load_native(b + i, 8)) return false;
        }
        return true;
    }
};

// ---------------------------------------------------------------------------
// The compile-time table of one class: N members, A extra texts.

// Longest probe sequence any class may need: lookups stay O(1).
inline constexpr unsigned probe_bound = 3;
// The last hash seed the compiler tries.
inline constexpr std::uint64_t last_seed = 16;

// The first slot of a text's probe sequence in a table of 2^bits slots.
constexpr std::size_t first_slot(std::string_view text, std::uint64_t seed, unsigned bits) {
    return static_cast<std::size_t>(text_hash(text_words(text.data(), text.size()), seed) >> (64 - bits));
}

constexpr unsigned slot_bits(std::size_t entries) {
    unsigned bits = 1;
    while ((std::size_t(1) << bits) < 4 * entries) ++bits;
    return bits;
}

// Places keys 0 to count - 1 in a table of 2^bits slots by their hash, each
// in the first free slot from its own (linear probing), and returns the
// longest probe sequence. A slot holds its key's entry offset; free slots
// hold the empty entry's, the one after the last key's.
constexpr unsigned fill_slots(EntryOffset* table, unsigned bits, const std::string_view* keys, std::size_t count,
                              std::uint64_t seed) {
    const std::size_t mask = (std::size_t(1) << bits) - 1;
    const auto empty = static_cast<EntryOffset>(count * sizeof(KeyEntry));
    for (std::size_t slot = 0; slot <= mask; ++slot) table[slot] = empty;
    unsigned longest = 0;
    for (std::size_t k = 0; k < count; ++k) {
        std::size_t slot = first_slot(keys[k], seed, bits);
        unsigned probe = 0;
        for (; table[slot] != empty; slot = (slot + 1) & mask) ++probe;
        table[slot] = static_cast<EntryOffset>(k * sizeof(KeyEntry));
        longest = std::max(longest, probe);
    }
    return longest;
}

// Whether the first `count` texts differ pairwise. Each text goes into a
// scratch hash table and is compared only with the texts already on its probe
// sequence, so the cost grows with the number of texts, not with its square.
template <std::size_t N>
constexpr bool all_distinct(const std::array<std::string_view, N>& texts, std::size_t count = N) {
    constexpr unsigned bits = slot_bits(N);
    constexpr std::size_t mask = (std::size_t(1) << bits) - 1;
    constexpr std::size_t empty = N;
    std::array<std::size_t, mask + 1> table{};
    for (auto& slot : table) slot = empty;
    for (std::size_t i = 0; i < count; ++i) {
        // The words a lookup reads, but the middle one from the middle of
        // the text: long texts that share their first 16 bytes (the flag
        // images' do) spread over the table.
        const std::string_view t = texts[i];
        TextWords w = text_words(t.data(), t.size());
        if (t.size() > 16) w.middle = load_le(t.data() + (t.size() - 8) / 2, 8);
        std::size_t slot = static_cast<std::size_t>(text_hash(w, 0) >> (64 - bits));
        for (; table[slot] != empty; slot = (slot + 1) & mask) {
            if (texts[table[slot]] == texts[i]) return false;
        }
        table[slot] = i;
    }
    return true;
}

// The numbers 0 to N - 1 ordered by the byte order of texts[0] to
// texts[N - 1]: a bottom-up merge sort, which costs the compiler a few steps
// per comparison where the library's sort costs it many.
template <std::size_t N>
constexpr std::array<Index, N> sorted_by_text(const std::string_view* texts) {
    std::array<Index, N> a{};
    std::array<Index, N> b{};
    for (std::size_t i = 0; i < N; ++i) a[i] = static_cast<Index>(i);
    Index* from = a.data();
    Index* to = b.data();
    for (std::size_t width = 1; width < N; width *= 2) {
        for (std::size_t low = 0; low < N; low += 2 * width) {
            const std::size_t middle = std::min(low + width, N);
            const std::size_t high = std::min(low + 2 * width, N);
            std::size_t i = low;
            std::size_t j = middle;
            std::size_t k = low;
            while (i < middle && j < high) to[k++] = bytes_less(texts[from[j]], texts[from[i]]) ? from[j++] : from[i++];
            while (i < middle) to[k++] = from[i++];
            while (j < high) to[k++] = from[j++];
        }
        Index* const swapped = from;
        from = to;
        to = swapped;
    }
    if (from != a.data()) return b;
    return a;
}

template <std::size_t N, std::size_t A = 0>
struct EnumTable {
    static_assert(N >= 2 && N <= 250, "a class has 2 to 250 members");
    static_assert((N + A + 1) * sizeof(KeyEntry) <= 0xFFFF, "entry offsets fit a slot");

    static constexpr std::size_t size = N;
    static constexpr std::size_t keys_size = N + A;
    static constexpr unsigned bits = slot_bits(N + A);
    static constexpr std::size_t slot_count = std::size_t(1) << bits;

    std::array<std::string_view, N + A> keys{};
    std::array<KeyEntry, N + A + 1> entries{};  // the last one empty
    std::array<Attribute, N> attributes{};
    std::size_t attribute_count = 0;
    std::array<EntryOffset, slot_count> slots{};
    std::array<Index, N> rank{};
    std::uint64_t seed = 1;
    unsigned max_probe = 0;
    std::size_t min_length = 0;
    std::size_t max_length = 0;

    // `install` lists member indexes in the order their class attributes are
    // installed; empty means index order. Members with a null attribute name
    // get no class attribute. The hash table is filled with seeds 1, 2, ...
    // until its probe sequences are short enough (or the seeds run out, which
    // the class's description refuses).
    consteval EnumTable(const std::array<Member, N>& members, const std::array<Alias, A>& aliases,
                        const std::array<Index, N>* install) {
        for (std::size_t i = 0; i < N; ++i) {
            keys[i] = members[i].display_text();
            entries[i].member = static_cast<Index>(i);
        }
        for (std::size_t j = 0; j < A; ++j) {
            keys[N + j] = aliases[j].text;
            entries[N + j].member = aliases[j].index;
        }
        for (std::size_t k = 0; k < N; ++k) {
            const std::size_t i = install ? (*install)[k] : k;
            if (members[i].attribute != nullptr) {
                attributes[attribute_count++] = Attribute{members[i].attribute, static_cast<Index>(i)};
            }
        }
        min_length = max_length = keys[0].size();
        for (const auto& k : keys) {
            min_length = std::min(min_length, k.size());
            max_length = std::max(max_length, k.size());
        }
        // Rank of each display text in byte order.
        const std::array<Index, N> order = sorted_by_text<N>(keys.data());
        for (std::size_t r = 0; r < N; ++r) rank[order[r]] = static_cast<Index>(r);
        for (;; ++seed) {
            max_probe = fill_slots(slots.data(), bits, keys.data(), N + A, seed);
            if (max_probe <= probe_bound || seed == last_seed) break;
        }
        for (std::size_t k = 0; k < N + A; ++k) {
            entries[k].words = text_words(keys[k].data(), keys[k].size());
            entries[k].text = keys[k].data();
            entries[k].length = keys[k].size();
        }
    }

    // Invariants every class table must satisfy.
    constexpr bool texts_unique() const { return all_distinct(keys); }
    constexpr bool texts_nonempty() const {
        for (const auto& k : keys)
            if (k.empty()) return false;
        return true;
    }
    constexpr bool aliases_in_range() const {
        for (std::size_t j = N; j < N + A; ++j)
            if (entries[j].member >= N) return false;
        return true;
    }
    // Each member holds at most one class attribute, and attribute names differ.
    constexpr bool attributes_unique() const {
        std::array<bool, N> taken{};
        std::array<std::string_view, N> names{};
        for (std::size_t i = 0; i < attribute_count; ++i) {
            const Index index = attributes[i].index;
            if (index >= N || taken[index]) return false;
            taken[index] = true;
            names[i] = attributes[i].name;
        }
        return all_distinct(names, attribute_count);
    }
    // Every key is found again through the hash table: the first entry on
    // its probe sequence with its words and length is its own (for a key
    // longer than word_bytes, no other key has the same words and length).
    constexpr bool lookup_complete() const {
        for (std::size_t k = 0; k < N + A; ++k) {
            std::size_t slot = first_slot(keys[k], seed, bits);
            std::size_t found = N + A;
            for (unsigned p = 0; p <= max_probe && found == N + A; ++p, slot = (slot + 1) & (slot_count - 1)) {
                const KeyEntry& e = entries[slots[slot] / sizeof(KeyEntry)];
                if (e.words.head == entries[k].words.head && e.words.tail == entries[k].words.tail &&
                    e.words.middle == entries[k].words.middle && e.length == entries[k].length) {
                    found = slots[slot] / sizeof(KeyEntry);
                }
            }
            if (found != k) return false;
        }
        return true;
    }

    constexpr TextLookup lookup() const {
        return TextLookup{entries.data(), slots.data(), seed, bits, max_probe, min_length, max_length};
    }
};

// Tables as class files write them: the members in index order, then either
// extra constructor texts or the installation order of the class attributes.
template <std::size_t N>
consteval EnumTable<N> enum_table(const std::array<Member, N>& members) {
    return EnumTable<N>(members, {}, nullptr);
}

template <std::size_t N>
consteval EnumTable<N> enum_table(const Member (&members)[N]) {
    return EnumTable<N>(std::to_array(members), {}, nullptr);
}

template <std::size_t N, std::size_t A>
consteval EnumTable<N, A> enum_table(const std::array<Member, N>& members, const Alias (&aliases)[A]) {
    return EnumTable<N, A>(members, std::to_array(aliases), nullptr);
}

template <std::size_t N>
consteval EnumTable<N> enum_table(const Member (&members)[N], const Index (&install)[N]) {
    const std::array<Index, N> order = std::to_array(install);
    return EnumTable<N>(std::to_array(members), {}, &order);
}

// The members of a family's rows, each of which begins with its member.
template <typename Row, std::size_t N>
consteval std::array<Member, N> members_of(const Row (&rows)[N]) {
    std::array<Member, N> members{};
    for (std::size_t i = 0; i < N; ++i) members[i] = rows[i].member;
    return members;
}

}  // namespace tessamir
