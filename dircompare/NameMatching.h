// Pairing the entries of a master and a source listing by name, ignoring letter case.
// Pure function; any thread.
//
// Names are matched by their upper-case form, so A.TXT and a.txt are one entry. Linux
// allows names that differ only in case side by side in one directory; those are not
// merged or dropped. Within one upper-case name, entries spelled identically on both
// sides pair first, the rest pair in spelling order, and any left over are only on their
// own side. Every entry of both listings is therefore accounted for exactly once.
#pragma once

#include <cstddef>
#include <limits>
#include <vector>

#include "dircompare/DirListing.h"

namespace lindrel::dircompare {

struct NameMatch {
  static constexpr std::size_t kNoPartner = std::numeric_limits<std::size_t>::max();
  // Per master entry: the index of its source partner, or kNoPartner.
  std::vector<std::size_t> partnerOfMaster;
  // Per source entry: whether a master entry took it.
  std::vector<bool> sourceMatched;
};

NameMatch MatchNames(const DirListing& master, const DirListing& source);

}  // namespace lindrel::dircompare
